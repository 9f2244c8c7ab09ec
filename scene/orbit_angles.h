#pragma once

// A camera orientation in degrees, or a change of one: yaw turns about the
// vertical axis, pitch raises the eye.
struct OrbitAngles {
    float yaw;
    float pitch;

    constexpr OrbitAngles(float yaw, float pitch) : yaw(yaw), pitch(pitch) {}

    // This plus `delta`: yaw unwrapped, pitch limited to [-90, 90].
    constexpr OrbitAngles plus(OrbitAngles delta) const {
        const float p = pitch + delta.pitch;
        return {yaw + delta.yaw, p < -90.0f ? -90.0f : p > 90.0f ? 90.0f : p};
    }

    // Multiplies the view rotations onto the current matrix: pitch about x,
    // then -yaw about y.
    void applyRotation() const;

    friend constexpr bool operator==(OrbitAngles, OrbitAngles) = default;
};
