# libjpeg-turbo from its release in third_party/, built by its own build system (it cannot be
# a subproject) with the compiler, flags and SIMD code of this build: the static libjpeg as
# the target libjpeg_turbo; on the build machine also its cjpeg (libjpeg-turbo/cjpeg-static), which the
# benchmarks make pictures too large for ImageMagick's limits with. The tests make their JPEG
# files with its compressor.
include(ExternalProject)

set(jpegSource ${PROJECT_SOURCE_DIR}/third_party/libjpeg-turbo)
set(jpegBuild ${PROJECT_BINARY_DIR}/libjpeg-turbo)
set(jpegTools OFF)
if(NOT WIN32 AND NOT PLUVETTE_FUZZ AND NOT PLUVETTE_SANITIZE)
    set(jpegTools ON)
endif()
# Each function in a section of its own, so that the program's link keeps only the decoder's.
set(jpegFlags "-ffunction-sections -fdata-sections")
if(PLUVETTE_FUZZ)
    set(jpegFlags "-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer")
elseif(PLUVETTE_SANITIZE)
    set(jpegFlags "-fsanitize=address,undefined -fno-omit-frame-pointer")
endif()
set(jpegArguments
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER}
    "-DCMAKE_C_FLAGS=${jpegFlags}"
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON
    -DCMAKE_INSTALL_PREFIX=${jpegBuild}/unused-install
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DWITH_TOOLS=${jpegTools}
    -DWITH_TESTS=OFF
    -DREQUIRE_SIMD=ON)
if(CMAKE_TOOLCHAIN_FILE)
    list(APPEND jpegArguments -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
endif()
set(jpegLibrary ${jpegBuild}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX})
ExternalProject_Add(libjpeg_turbo_build
    SOURCE_DIR ${jpegSource}
    BINARY_DIR ${jpegBuild}
    CMAKE_ARGS ${jpegArguments}
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${jpegLibrary}
    USES_TERMINAL_BUILD OFF)

# jconfig.h is made by the library's build; the folder must stand before it runs.
file(MAKE_DIRECTORY ${jpegBuild})
add_library(libjpeg_turbo STATIC IMPORTED GLOBAL)
set_target_properties(libjpeg_turbo PROPERTIES
    IMPORTED_LOCATION ${jpegLibrary}
    INTERFACE_INCLUDE_DIRECTORIES "${jpegSource}/src;${jpegBuild}")
add_dependencies(libjpeg_turbo libjpeg_turbo_build)

