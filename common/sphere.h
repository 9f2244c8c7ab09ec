#pragma once

#include "common/vec3.h"

struct Sphere {
    Vec3 centre;
    float radius;
};
