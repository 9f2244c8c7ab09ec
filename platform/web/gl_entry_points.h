#pragma once

class GlMachine;

// The rendering context OpenGL's functions act on; with none current they
// do nothing and glGenLists yields 0.
void makeCurrentGl(GlMachine* machine);
GlMachine* currentGl();
