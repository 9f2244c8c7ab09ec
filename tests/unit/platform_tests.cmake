# The Win32 subset the X11 and web layers share, over a fake backend: its
# window classes and records, the queue, the handles, the pixel format choice.
if(NOT TARGET quenn_win32_subset)
    return()
endif()

quenn_unit_test(win32_subset_test
    SOURCES class_registry_test.cpp pixel_format_test.cpp record_table_test.cpp
            win32_subset_test.cpp ${PROJECT_SOURCE_DIR}/tests/doubles/fake_backend.cpp
    LIBRARIES quenn_win32_subset)
