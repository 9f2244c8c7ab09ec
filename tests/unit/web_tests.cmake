# The web layer's OpenGL subset, its context's loss and return, its pointer
# and key input and its pause, natively; and a frame of the real program
# drawn through it.
if(NOT TARGET quenn_web_gl)
    return()
endif()

quenn_unit_test(web_gl_test
    SOURCES web_batch_test.cpp web_context_test.cpp web_input_test.cpp web_lines_test.cpp
        web_playback_test.cpp web_text_test.cpp web_transform_test.cpp
    LIBRARIES quenn_web_gl_logic quenn_call_log)

quenn_unit_test(web_frame_test
    SOURCES web_frame_test.cpp
    LIBRARIES quenn_app quenn_test_win32 quenn_web_gl)
