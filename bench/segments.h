#pragma once

// The segments a plant draws, kept in an array and replayed through the same
// OpenGL calls: what drawing costs without the turtle's walk.

#include <vector>

#include "plant/plant.h"
#include "platform/opengl.h"

struct Segment {
    float width, r, g, b;
    Vec3 from, to;
};

// The segments of the plant's walk at age 0, found by walking the text with
// a stack instead of recursion (stems and leaves only: the built-in rules
// make no "L" or "^").
inline std::vector<Segment> segmentsOf(const Plant& plant) {
    const Rotation bend = Rotation::byDegrees(2.5f), left = Rotation::byDegrees(41.0f);
    std::vector<TurtleState> stack{{{0, 0, 0}, {0, 1, 0}}};
    std::vector<Segment> segments;
    for (const char* c = plant.text; *c; ++c) {
        TurtleState& t = stack.back();
        switch (*c) {
            case 'T':
            case 't':
            case 'S': {
                const Vec3 to = t.position + t.heading * plant.stepLength;
                segments.push_back(*c == 'S' ? Segment{2.0f, 0.3f, 1.0f, 0.3f, t.position, to}
                                             : Segment{2.0f, 0.7f, 0.6f, 0.5f, t.position, to});
                t.position = to;
                break;
            }
            case '.': t.heading = rotateX(t.heading, bend); break;
            case '<': t.heading = rotateY(t.heading, left); break;
            case '>': t.heading = rotateY(t.heading, left.reversed()); break;
            case '[': stack.push_back(t); break;
            case ']': stack.pop_back(); break;
        }
    }
    return segments;
}

// The calls of one plant's drawing pass, from the array.
inline void replay(const std::vector<Segment>& segments) {
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT, GL_FILL);
    for (const Segment& s : segments) {
        glLineWidth(s.width);
        glColor3f(s.r, s.g, s.b);
        glBegin(GL_LINES);
        glVertex3f(s.from.x, s.from.y, s.from.z);
        glVertex3f(s.to.x, s.to.y, s.to.z);
        glEnd();
    }
}
