quenn_unit_test(plant_test
    SOURCES rewriting_test.cpp turtle_test.cpp
    LIBRARIES quenn_plant quenn_recording_gl)
