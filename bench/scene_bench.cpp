// One whole frame of the scene against OpenGL that does nothing, beside the
// replay of the same calls from arrays.
#include <benchmark/benchmark.h>

#include "bench/segments.h"
#include "platform/opengl.h"
#include "scene/scene.h"

namespace {

// A scene past its first frame, both plants drawing at age 0.
struct SteadyScene {
    Scene scene;
    FrameInfo frame{Duration{5000}, nullptr};

    SteadyScene() {
        scene.render(frame);
        scene.plant1->setBeginTime(TickTime::at(frame.elapsed));
        scene.plant2->setBeginTime(TickTime::at(frame.elapsed));
        scene.render(frame);  // warm up: the first pass does not count
    }
};

void BM_SceneRender(benchmark::State& state) {
    SteadyScene steady;
    for (auto _ : state) steady.scene.render(steady.frame);
}
BENCHMARK(BM_SceneRender)->Unit(benchmark::kMicrosecond);

void BM_SceneReplay(benchmark::State& state) {
    SteadyScene steady;
    const Scene& scene = steady.scene;
    const std::vector<Segment> first = segmentsOf(*scene.plant1);
    const std::vector<Segment> second = segmentsOf(*scene.plant2);
    std::vector<Vec3> grid;
    for (float z = -100; z < 100; z += 50) {
        for (float x = -100; x < 100; x += 50) {
            grid.insert(grid.end(),
                        {{x, 0, z}, {x, 0, z + 50}, {x + 50, 0, z + 50}, {x + 50, 0, z}});
        }
    }
    const OrbitCamera& camera = scene.camera;
    for (auto _ : state) {
        glClearColor(0.4f, 0.3f, 0.35f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        const Frustum& f = camera.frustum;
        glFrustum(f.left, f.right, f.bottom, f.top, f.near, f.far);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -camera.distance);
        glRotatef(camera.angles.pitch, 1, 0, 0);
        glRotatef(-camera.angles.yaw, 0, 1, 0);
        glTranslatef(-camera.target.centre.x, -camera.target.centre.y, -camera.target.centre.z);
        glLineWidth(0.5f);
        glPolygonMode(GL_FRONT, GL_LINE);
        glPolygonMode(GL_BACK, GL_LINE);
        glColor3f(0.7f, 0.7f, 0.7f);
        glBegin(GL_QUADS);
        for (const Vec3& v : grid) glVertex3f(v.x, v.y, v.z);
        glEnd();
        replay(first);
        glTranslatef(50, 0, 0);
        glRotatef(180, 0, 1, 0);
        replay(second);
    }
    state.counters["segments"] = double(first.size() + second.size());
}
BENCHMARK(BM_SceneReplay)->Unit(benchmark::kMicrosecond);

}  // namespace
