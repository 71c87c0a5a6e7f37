# The stb_vorbis version sound/ogg_header_check.cpp mirrors: it reads the setup header's codebooks bit for bit
# as this version does, so any other version stops the build until the check has been compared with it.
# CMakeLists.txt includes it; tools/fuzz runs it as cmake -DSTB_VORBIS_DIR=... -P cmake/stb_vorbis_version.cmake.
set(KELVRA_STB_VORBIS_VERSION 1.22)

# stb_vorbis.h states its version on its first line: "// Ogg Vorbis audio decoder - v1.22 - public domain".
file(STRINGS "${STB_VORBIS_DIR}/stb_vorbis.h" stb_vorbis_version_line
     LIMIT_INPUT 1024 LIMIT_COUNT 1 REGEX " - v[0-9]+(\\.[0-9]+)+")
string(REGEX MATCH " - v([0-9]+(\\.[0-9]+)+)" stb_vorbis_version_found "${stb_vorbis_version_line}")
if(NOT stb_vorbis_version_found)
  message(FATAL_ERROR "${STB_VORBIS_DIR}/stb_vorbis.h states no version on its first lines; "
    "sound/ogg_header_check.cpp mirrors stb_vorbis v${KELVRA_STB_VORBIS_VERSION}")
elseif(NOT CMAKE_MATCH_1 STREQUAL KELVRA_STB_VORBIS_VERSION)
  message(FATAL_ERROR "${STB_VORBIS_DIR}/stb_vorbis.h is stb_vorbis v${CMAKE_MATCH_1}, but "
    "sound/ogg_header_check.cpp mirrors how v${KELVRA_STB_VORBIS_VERSION} reads codebooks. Use "
    "v${KELVRA_STB_VORBIS_VERSION}, or compare the check with the new version's start_decoder and then "
    "change KELVRA_STB_VORBIS_VERSION in cmake/stb_vorbis_version.cmake.")
endif()
