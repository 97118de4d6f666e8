# marovin_add_layer(NAME DEPENDENCIES...) builds src/NAME (with its
# subfolders) into the static library marovin_NAME, linked publicly to the
# given libraries.
#
# The library's include root is a folder of the build tree holding one link,
# NAME -> src/NAME. Sources write "NAME/file.h" as before; a library sees the
# roots of the layers it links and no others, so an include that reaches up
# a layer names a file the compiler cannot find.
function(marovin_add_layer name)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp ${CMAKE_SOURCE_DIR}/src/${name}/*.h)
    list(FILTER sources EXCLUDE REGEX ".*/src/app/main\\.cpp$")
    set(root ${CMAKE_BINARY_DIR}/layers/${name})
    file(MAKE_DIRECTORY ${root})
    if(NOT EXISTS ${root}/${name})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${name} ${root}/${name} SYMBOLIC)
    endif()
    add_library(marovin_${name} STATIC ${sources})
    target_include_directories(marovin_${name} PUBLIC ${root})
    target_compile_options(marovin_${name} PRIVATE -Wall -Wextra)
    target_link_libraries(marovin_${name} PUBLIC ${ARGN})
endfunction()
