#pragma once

// Tells the user of a failure: a message box with `text`, no owner window and
// the system's default caption. Returns once the box is dismissed.
void showError(const char* text);
