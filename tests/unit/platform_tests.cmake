# What the layers that stand in for Win32 share.
if(NOT TARGET quenn_class_registry)
    return()
endif()

quenn_unit_test(class_registry_test
    SOURCES class_registry_test.cpp
    LIBRARIES quenn_class_registry)
