#pragma once

// While one lives, the server refuses the X windows of the window class
// `className` ("MessageBox" for message boxes): the layer's seam for its
// refused-window path, as this test build answers it.
class RefusedWindows {
public:
    explicit RefusedWindows(const char* className);
    ~RefusedWindows();
    RefusedWindows(const RefusedWindows&) = delete;
    RefusedWindows& operator=(const RefusedWindows&) = delete;
};
