# MuPDF, from the system's static libraries, as one imported target for
# everything that links it: folio (which keeps it hidden inside), the
# benchmarks' reference side and samplegen.
include_guard(GLOBAL)
find_package(Threads REQUIRED)
find_library(MUPDF_LIBRARY NAMES libmupdf.a REQUIRED)
find_library(MUPDF_THIRD_LIBRARY NAMES libmupdf-third.a REQUIRED)
add_library(MuPDF::MuPDF STATIC IMPORTED)
set_target_properties(MuPDF::MuPDF PROPERTIES
  IMPORTED_LOCATION ${MUPDF_LIBRARY}
  INTERFACE_LINK_LIBRARIES
    "${MUPDF_THIRD_LIBRARY};mujs;gumbo;openjp2;jbig2dec;jpeg;harfbuzz;freetype;z;m;Threads::Threads")
