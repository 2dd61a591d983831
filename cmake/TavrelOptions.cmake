# Compiler settings shared by every target of the project.

add_library(tavrel_options INTERFACE)
target_compile_features(tavrel_options INTERFACE cxx_std_20)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(tavrel_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                    -Wno-missing-field-initializers)
elseif(MSVC)
    target_compile_options(tavrel_options INTERFACE /W4 /utf-8)
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

# The toolkit headers nearly every widget-side file reaches.
set(TAVREL_QT_CORE_HEADERS <QtCore/QObject> <QtCore/QString> <QtCore/QByteArray>)
set(TAVREL_QT_WIDGET_HEADERS ${TAVREL_QT_CORE_HEADERS} <QtGui/QImage> <QtGui/QPainter>
    <QtWidgets/QWidget> <QtWidgets/QApplication>)
