# zrn_core_library(NAME DIR [DEPS ...])
# A core library takes every .cpp of its folder. It never links Qt: that is what
# keeps calculations, tables and file formats usable without windows.
function(zrn_core_library name dir)
    file(GLOB _sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(_sources)
        add_library(${name} STATIC ${_sources})
        target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(${name} PUBLIC ${ARGN})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${ARGN})
    endif()
endfunction()

# zrn_test(NAME DIR [DEPS ...]): one GoogleTest program per test folder, run by
# CTest from the program folder so data/ and taal/ are found beside it.
function(zrn_test name dir)
    file(GLOB _sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT _sources)
        return()
    endif()
    add_executable(${name} ${_sources})
    # A folder with its own main.cpp sets up what its tests share (the Qt application).
    if(EXISTS ${dir}/main.cpp)
        target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock)
    else()
        target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    target_compile_definitions(${name} PRIVATE
        ZRN_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures"
        ZRN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_dependencies(${name} zrn_resources)
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${ZRN_BIN_DIR})
endfunction()
