#pragma once

// While one lives, the server refuses the X windows of the window class
// `className` ("MessageBox" for message boxes), through the link's wrapping
// of XSetClassHint: the layer's refused-window path with a real protocol error.
class RefusedWindows {
public:
    explicit RefusedWindows(const char* className);
    ~RefusedWindows();
    RefusedWindows(const RefusedWindows&) = delete;
    RefusedWindows& operator=(const RefusedWindows&) = delete;
};
