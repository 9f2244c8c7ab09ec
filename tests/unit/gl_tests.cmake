quenn_unit_test(gl_test
    SOURCES gl_context_test.cpp bitmap_font_test.cpp
    LIBRARIES quenn_gl quenn_recording_gl quenn_test_win32)
