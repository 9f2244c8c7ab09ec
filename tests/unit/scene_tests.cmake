# The scenes of both programs: what the fit and the frame give follows the
# first plant's depth, which the tests are told too.
function(quenn_scene_test suffix depth)
    quenn_unit_test(scene${suffix}_test
        SOURCES camera_test.cpp drag_test.cpp scene_test.cpp
        LIBRARIES quenn_scene_globals${suffix} quenn_recording_gl)
    target_compile_definitions(scene${suffix}_test PRIVATE QUENN_FIRST_PLANT_DEPTH=${depth})
endfunction()

quenn_scene_test("" 5)
quenn_scene_test(_fast 4)
