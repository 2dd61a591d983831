# Compiler settings shared by every target of the project.

add_library(tavrel_options INTERFACE)
target_compile_features(tavrel_options INTERFACE cxx_std_20)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(tavrel_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                    -Wno-missing-field-initializers)
elseif(MSVC)
    target_compile_options(tavrel_options INTERFACE /W4 /utf-8)
endif()

# Debug information: the default build (RelWithDebInfo) and the sanitizer build keep line
# tables only (-g1: function names and lines, enough for backtraces, profilers and sanitizer
# reports), which compiles a third faster than full information; a plain Debug build keeps it
# all for the debugger.
option(TAVREL_LINE_TABLES_ONLY "Line tables only in RelWithDebInfo and sanitizer builds" ON)
if(TAVREL_LINE_TABLES_ONLY AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    if(TAVREL_SANITIZE)
        target_compile_options(tavrel_options INTERFACE -g1)
    else()
        target_compile_options(tavrel_options INTERFACE $<$<CONFIG:RelWithDebInfo>:-g1>)
    endif()
endif()

if(TAVREL_SANITIZE)
    set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(tavrel_options INTERFACE ${_san})
    target_link_options(tavrel_options INTERFACE ${_san})
endif()

if(TAVREL_BUILD_FUZZ)
    # Every library is instrumented for coverage, not just the fuzzer's own source.
    target_compile_options(tavrel_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                    -fno-omit-frame-pointer)
    target_link_options(tavrel_options INTERFACE -fsanitize=address,undefined)
endif()

# tavrel_add_library(NAME SOURCES...): one library per subsystem folder; its public
# headers sit at the top of the folder and are included as "folder/header.h".
function(tavrel_add_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC tavrel_options)
endfunction()

# tavrel_add_folders(): adds the subdirectories of the current folder named in TAVREL_FOLDERS
# that exist, in that order (src/, tests/, bench/ and fuzz/ all mirror the subsystems).
function(tavrel_add_folders)
    foreach(dir ${TAVREL_FOLDERS})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()

# tavrel_precompile(TARGET HEADERS...): precompiles the heavy headers a target's files share
# (the toolkit's, the test framework's), which every file would otherwise parse again; most of
# a clean build's time went there. Off with -DTAVREL_PRECOMPILE=OFF, e.g. to check includes.
option(TAVREL_PRECOMPILE "Precompile the toolkit and test framework headers" ON)
function(tavrel_precompile target)
    if(TAVREL_PRECOMPILE)
        target_precompile_headers(${target} PRIVATE <string> <string_view> <vector> ${ARGN})
    endif()
endfunction()

# tavrel_precompile_shared(TARGET KIND): the same, but one precompiled header per KIND for the
# whole build instead of one per target: "qt" (widget libraries), "test" and "qt_test" (test
# programs without and with the toolkit). Each header took as long to build as a large source
# file, two dozen times over. A small holder target of the kind's own builds it, with the
# compile flags its users get: a library for "qt" (position-independent code), programs for
# the tests (position-independent executables).
function(tavrel_precompile_shared target kind)
    if(NOT TAVREL_PRECOMPILE)
        return()
    endif()
    set(holder tavrel_precompiled_${kind})
    if(NOT TARGET ${holder})
        set(source ${PROJECT_SOURCE_DIR}/cmake/precompiled_holder.cpp)
        if(kind STREQUAL "qt")
            add_library(${holder} OBJECT ${source})
            target_link_libraries(${holder} PRIVATE Qt6::Widgets)
            set(headers ${TAVREL_QT_WIDGET_HEADERS})
        elseif(kind STREQUAL "qt_test")
            add_executable(${holder} ${source})
            target_link_libraries(${holder} PRIVATE GTest::gtest Qt6::Widgets)
            set(headers <gtest/gtest.h> ${TAVREL_QT_WIDGET_HEADERS})
        elseif(kind STREQUAL "test")
            add_executable(${holder} ${source})
            target_link_libraries(${holder} PRIVATE GTest::gtest)
            set(headers <gtest/gtest.h>)
        else()
            message(FATAL_ERROR "tavrel_precompile_shared: unknown kind ${kind}")
        endif()
        target_link_libraries(${holder} PRIVATE tavrel_options)
        target_precompile_headers(${holder} PRIVATE <string> <string_view> <vector> ${headers})
    endif()
    # A header is only used with the code model it was built for; the toolkit asks for
    # position-independent code, so every test program gets it whether it links the toolkit
    # or not.
    if(kind MATCHES "test$" AND NOT WIN32)
        target_compile_options(${holder} PRIVATE -fPIC)
        target_compile_options(${target} PRIVATE -fPIC)
    endif()
    target_precompile_headers(${target} REUSE_FROM ${holder})
endfunction()

# The toolkit headers nearly every widget-side file reaches.
set(TAVREL_QT_CORE_HEADERS <QtCore/QObject> <QtCore/QString> <QtCore/QByteArray>)
set(TAVREL_QT_WIDGET_HEADERS ${TAVREL_QT_CORE_HEADERS} <QtGui/QImage> <QtGui/QPainter>
    <QtWidgets/QWidget> <QtWidgets/QApplication>)
