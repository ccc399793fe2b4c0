# The picture codecs. Natively they are Debian's -dev packages. For Windows, libjpeg-turbo,
# libtiff, libpng, libwebp, libde265, dav1d and libheif are unpacked from Debian's source
# packages (patches applied) and cross-built once inside the build tree, with the SIMD code they
# choose at run time. All are static libraries linked into the program except libheif and
# libde265: they are LGPL, so they are shipped as DLLs beside it (libheif.dll with dav1d linked
# in, and libde265.dll), which a user may replace.
#
# Either way the rest of the build links muralto::jpeg, muralto::tiff, muralto::png,
# muralto::webp, muralto::webpdemux (libwebp's reader of the extended format's chunks) and
# muralto::heif.

if(NOT WIN32)
  find_package(JPEG REQUIRED)
  find_package(TIFF REQUIRED)
  find_package(PNG REQUIRED)
  # Debian's libwebp-dev has no CMake package, only its pkg-config file.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET GLOBAL libwebp)
  pkg_check_modules(WEBPDEMUX REQUIRED IMPORTED_TARGET GLOBAL libwebpdemux)
  add_library(muralto::jpeg ALIAS JPEG::JPEG)
  add_library(muralto::tiff ALIAS TIFF::TIFF)
  add_library(muralto::png ALIAS PNG::PNG)
  add_library(muralto::webp ALIAS PkgConfig::WEBP)
  add_library(muralto::webpdemux ALIAS PkgConfig::WEBPDEMUX)
  pkg_check_modules(HEIF REQUIRED IMPORTED_TARGET GLOBAL libheif)
  add_library(muralto::heif ALIAS PkgConfig::HEIF)
  return()
endif()

include(ExternalProject)

set(THIRD_PARTY_DIR ${CMAKE_BINARY_DIR}/third_party)
set(THIRD_PARTY_PREFIX ${THIRD_PARTY_DIR}/install)
file(MAKE_DIRECTORY ${THIRD_PARTY_PREFIX}/include ${THIRD_PARTY_PREFIX}/lib)

foreach(package libjpeg-turbo tiff libpng1.6 libwebp libde265 dav1d libheif)
  execute_process(
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/fetch-debian-source ${package} ${THIRD_PARTY_DIR}/src
    RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not unpack Debian's ${package} sources (see above)")
  endif()
endforeach()

find_program(NASM nasm REQUIRED)
find_library(MINGW_ZLIB NAMES libz.a z REQUIRED)
find_path(MINGW_ZLIB_INCLUDE zlib.h REQUIRED)

set(cross_args
  -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX=${THIRD_PARTY_PREFIX}
  -DCMAKE_INSTALL_LIBDIR=${THIRD_PARTY_PREFIX}/lib
  -DCMAKE_INSTALL_INCLUDEDIR=${THIRD_PARTY_PREFIX}/include
  -DCMAKE_CROSSCOMPILING_EMULATOR=)

set(JPEG_STATIC ${THIRD_PARTY_PREFIX}/lib/libjpeg.a)
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR ${THIRD_PARTY_DIR}/src/libjpeg-turbo
  BINARY_DIR ${THIRD_PARTY_DIR}/build/libjpeg-turbo
  INSTALL_DIR ${THIRD_PARTY_PREFIX}
  CMAKE_ARGS ${cross_args}
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=${NASM}
  BUILD_BYPRODUCTS ${JPEG_STATIC}
  UPDATE_COMMAND "" PATCH_COMMAND "")

set(TIFF_STATIC ${THIRD_PARTY_PREFIX}/lib/libtiff.a)
ExternalProject_Add(libtiff_build
  DEPENDS libjpeg_turbo_build
  SOURCE_DIR ${THIRD_PARTY_DIR}/src/tiff
  BINARY_DIR ${THIRD_PARTY_DIR}/build/tiff
  INSTALL_DIR ${THIRD_PARTY_PREFIX}
  CMAKE_ARGS ${cross_args}
    -DBUILD_SHARED_LIBS=OFF -Dcxx=OFF
    -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF
    -Djpeg=ON -Dold-jpeg=ON -Djpeg12=OFF -Dzlib=ON
    -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dlibdeflate=OFF -Dpixarlog=OFF
    -DJPEG_INCLUDE_DIR=${THIRD_PARTY_PREFIX}/include -DJPEG_LIBRARY=${JPEG_STATIC}
    -DZLIB_INCLUDE_DIR=${MINGW_ZLIB_INCLUDE} -DZLIB_LIBRARY=${MINGW_ZLIB}
  BUILD_BYPRODUCTS ${TIFF_STATIC}
  UPDATE_COMMAND "" PATCH_COMMAND "")

# libpng links the MinGW zlib. Its SSE2 row filters are built for x86-64 only, where every
# processor has SSE2: libpng has no run-time check of the processor, so in the 32-bit build they
# would make SSE2 a requirement (and 1.6.39's CMake file does not take i686 for x86).
# libjpeg-turbo and libwebp choose their SIMD code at run time.
set(PNG_STATIC ${THIRD_PARTY_PREFIX}/lib/libpng16.a)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64)
  set(png_simd ON)
else()
  set(png_simd OFF)
endif()
ExternalProject_Add(libpng_build
  SOURCE_DIR ${THIRD_PARTY_DIR}/src/libpng1.6
  BINARY_DIR ${THIRD_PARTY_DIR}/build/libpng
  INSTALL_DIR ${THIRD_PARTY_PREFIX}
  CMAKE_ARGS ${cross_args}
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
    -DPNG_HARDWARE_OPTIMIZATIONS=${png_simd} -Dld-version-script=OFF
    -DZLIB_INCLUDE_DIR=${MINGW_ZLIB_INCLUDE} -DZLIB_LIBRARY=${MINGW_ZLIB}
  BUILD_BYPRODUCTS ${PNG_STATIC}
  UPDATE_COMMAND "" PATCH_COMMAND "")

# libwebp chooses its SSE2 and SSE4.1 code at run time, by what the processor has. Only the
# libraries are built (the tests encode their pictures with it too), none of its tools.
set(WEBP_STATIC ${THIRD_PARTY_PREFIX}/lib/libwebp.a)
set(WEBPDEMUX_STATIC ${THIRD_PARTY_PREFIX}/lib/libwebpdemux.a)
ExternalProject_Add(libwebp_build
  SOURCE_DIR ${THIRD_PARTY_DIR}/src/libwebp
  BINARY_DIR ${THIRD_PARTY_DIR}/build/libwebp
  INSTALL_DIR ${THIRD_PARTY_PREFIX}
  CMAKE_ARGS ${cross_args}
    -DBUILD_SHARED_LIBS=OFF -DWEBP_ENABLE_SIMD=ON -DWEBP_USE_THREAD=ON
    -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF
    -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF
    -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_LIBWEBPMUX=OFF -DWEBP_BUILD_WEBPMUX=OFF
    -DWEBP_BUILD_EXTRAS=OFF
  BUILD_BYPRODUCTS ${WEBP_STATIC} ${WEBPDEMUX_STATIC}
  UPDATE_COMMAND "" PATCH_COMMAND "")

add_library(muralto_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(muralto_jpeg PROPERTIES
  IMPORTED_LOCATION ${JPEG_STATIC}
  INTERFACE_INCLUDE_DIRECTORIES ${THIRD_PARTY_PREFIX}/include)
add_dependencies(muralto_jpeg libjpeg_turbo_build)
add_library(muralto::jpeg ALIAS muralto_jpeg)

add_library(muralto_tiff STATIC IMPORTED GLOBAL)
set_target_properties(muralto_tiff PROPERTIES
  IMPORTED_LOCATION ${TIFF_STATIC}
  INTERFACE_INCLUDE_DIRECTORIES ${THIRD_PARTY_PREFIX}/include
  INTERFACE_LINK_LIBRARIES "muralto_jpeg;${MINGW_ZLIB}")
add_dependencies(muralto_tiff libtiff_build)
add_library(muralto::tiff ALIAS muralto_tiff)

add_library(muralto_png STATIC IMPORTED GLOBAL)
set_target_properties(muralto_png PROPERTIES
  IMPORTED_LOCATION ${PNG_STATIC}
  INTERFACE_INCLUDE_DIRECTORIES ${THIRD_PARTY_PREFIX}/include
  INTERFACE_LINK_LIBRARIES ${MINGW_ZLIB})
add_dependencies(muralto_png libpng_build)
add_library(muralto::png ALIAS muralto_png)

add_library(muralto_webp STATIC IMPORTED GLOBAL)
set_target_properties(muralto_webp PROPERTIES
  IMPORTED_LOCATION ${WEBP_STATIC}
  INTERFACE_INCLUDE_DIRECTORIES ${THIRD_PARTY_PREFIX}/include)
add_dependencies(muralto_webp libwebp_build)
add_library(muralto::webp ALIAS muralto_webp)

add_library(muralto_webpdemux STATIC IMPORTED GLOBAL)
set_target_properties(muralto_webpdemux PROPERTIES
  IMPORTED_LOCATION ${WEBPDEMUX_STATIC}
  INTERFACE_INCLUDE_DIRECTORIES ${THIRD_PARTY_PREFIX}/include
  INTERFACE_LINK_LIBRARIES muralto_webp)
add_dependencies(muralto_webpdemux libwebp_build)
add_library(muralto::webpdemux ALIAS muralto_webpdemux)

# libde265 and libheif are DLLs that need nothing beside them: the compiler's runtime
# (libstdc++, libgcc, winpthread) is linked into each. They declare no exports, so the linker
# exports every symbol, which must not include those of the static libraries inside (a DLL
# that exported winpthread's would clash with libheif's own copy). pkg-config sees only this
# prefix, so that no Linux library of the machine is taken for one of ours.
# (CMake links a DLL's own objects as an archive too, so they are named one by one.)
set(static_libs libpthread.a:libwinpthread.a:libstdc++.a:libgcc.a:libgcc_eh.a:libdav1d.a)
set(dll_args
  -DBUILD_SHARED_LIBS=ON
  "-DCMAKE_SHARED_LINKER_FLAGS=-static -s -Wl,--exclude-libs,${static_libs}")
set(only_our_pkgconfig
  ${CMAKE_COMMAND} -E env PKG_CONFIG_LIBDIR=${THIRD_PARTY_PREFIX}/lib/pkgconfig PKG_CONFIG_PATH=
  ${CMAKE_COMMAND})

set(DE265_IMPLIB ${THIRD_PARTY_PREFIX}/lib/libde265.dll.a)
ExternalProject_Add(libde265_build
  SOURCE_DIR ${THIRD_PARTY_DIR}/src/libde265
  BINARY_DIR ${THIRD_PARTY_DIR}/build/libde265
  INSTALL_DIR ${THIRD_PARTY_PREFIX}
  CMAKE_COMMAND ${only_our_pkgconfig}
  CMAKE_ARGS ${cross_args} ${dll_args}
    -DENABLE_SDL=OFF -DENABLE_DECODER=OFF -DENABLE_ENCODER=OFF
  BUILD_BYPRODUCTS ${DE265_IMPLIB}
  UPDATE_COMMAND "" PATCH_COMMAND "")

# dav1d builds with Meson, told about the MinGW compilers by a cross file written here. Its
# assembly (nasm) is chosen at run time by what the processor has; 16 bits per sample are kept
# for 10- and 12-bit AVIF.
find_program(MESON meson REQUIRED)
find_program(NINJA ninja REQUIRED)
cmake_host_system_information(RESULT build_jobs QUERY NUMBER_OF_LOGICAL_CORES)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64)
  set(meson_cpu_family x86_64)
else()
  set(meson_cpu_family x86)
endif()
set(MESON_CROSS_FILE ${THIRD_PARTY_DIR}/meson-cross.txt)
file(WRITE ${MESON_CROSS_FILE} "[binaries]
c = '${CMAKE_C_COMPILER}'
cpp = '${CMAKE_CXX_COMPILER}'
ar = '${CMAKE_AR}'
strip = '${CMAKE_STRIP}'
windres = '${CMAKE_RC_COMPILER}'
nasm = '${NASM}'

[host_machine]
system = 'windows'
cpu_family = '${meson_cpu_family}'
cpu = '${CMAKE_SYSTEM_PROCESSOR}'
endian = 'little'
")
set(DAV1D_STATIC ${THIRD_PARTY_PREFIX}/lib/libdav1d.a)
ExternalProject_Add(dav1d_build
  SOURCE_DIR ${THIRD_PARTY_DIR}/src/dav1d
  BINARY_DIR ${THIRD_PARTY_DIR}/build/dav1d
  INSTALL_DIR ${THIRD_PARTY_PREFIX}
  CONFIGURE_COMMAND ${MESON} setup --cross-file ${MESON_CROSS_FILE}
    --prefix ${THIRD_PARTY_PREFIX} --libdir lib --buildtype release
    -Ddefault_library=static -Denable_asm=true -Dbitdepths=8,16
    -Denable_tools=false -Denable_tests=false -Denable_examples=false -Dlogging=false
    <BINARY_DIR> <SOURCE_DIR>
  BUILD_COMMAND ${NINJA} -C <BINARY_DIR> -j ${build_jobs}
  INSTALL_COMMAND ${NINJA} -C <BINARY_DIR> install
  BUILD_BYPRODUCTS ${DAV1D_STATIC}
  UPDATE_COMMAND "" PATCH_COMMAND "")

# libheif decodes only: no encoder, no plugin loading, no examples or desktop integration.
set(HEIF_IMPLIB ${THIRD_PARTY_PREFIX}/lib/libheif.dll.a)
ExternalProject_Add(libheif_build
  DEPENDS libde265_build dav1d_build
  SOURCE_DIR ${THIRD_PARTY_DIR}/src/libheif
  BINARY_DIR ${THIRD_PARTY_DIR}/build/libheif
  INSTALL_DIR ${THIRD_PARTY_PREFIX}
  CMAKE_COMMAND ${only_our_pkgconfig}
  CMAKE_ARGS ${cross_args} ${dll_args}
    -DWITH_EXAMPLES=OFF -DENABLE_PLUGIN_LOADING=OFF -DWITH_DEFLATE_HEADER_COMPRESSION=OFF
    -DWITH_LIBDE265=ON -DWITH_LIBDE265_PLUGIN=OFF -DWITH_DAV1D=ON -DWITH_DAV1D_PLUGIN=OFF
    -DWITH_X265=OFF -DWITH_AOM_ENCODER=OFF -DWITH_AOM_DECODER=OFF -DWITH_SvtEnc=OFF
    -DWITH_RAV1E=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Doxygen=ON
    -DLIBDE265_INCLUDE_DIR=${THIRD_PARTY_PREFIX}/include -DLIBDE265_LIBRARY=${DE265_IMPLIB}
    -DDAV1D_INCLUDE_DIR=${THIRD_PARTY_PREFIX}/include -DDAV1D_LIBRARY=${DAV1D_STATIC}
  BUILD_BYPRODUCTS ${HEIF_IMPLIB}
  UPDATE_COMMAND "" PATCH_COMMAND "")
# The two DLLs lie beside the programs that load them.
ExternalProject_Add_Step(libheif_build copy_dlls
  DEPENDEES install
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${THIRD_PARTY_PREFIX}/bin/libheif.dll
    ${THIRD_PARTY_PREFIX}/bin/libde265.dll ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  BYPRODUCTS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/libheif.dll
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/libde265.dll)
set(HEIF_DLLS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/libheif.dll
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/libde265.dll)

add_library(muralto_heif SHARED IMPORTED GLOBAL)
set_target_properties(muralto_heif PROPERTIES
  IMPORTED_LOCATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/libheif.dll
  IMPORTED_IMPLIB ${HEIF_IMPLIB}
  INTERFACE_INCLUDE_DIRECTORIES ${THIRD_PARTY_PREFIX}/include)
add_dependencies(muralto_heif libheif_build)
add_library(muralto::heif ALIAS muralto_heif)
