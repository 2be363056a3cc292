# cmake -DOUT=<file.cpp> -DSCRIPT=<Velmora.rc> -DHEADER=<resource.h> -P embed-text.cmake
# Writes OUT, defining the texts of the resource script and of its id header,
# so that the tests read the dialogs from the one file Windows builds them
# from, wherever the tests run.
file(READ "${SCRIPT}" script)
file(READ "${HEADER}" header)
file(WRITE "${OUT}.new" "// Generated from ${SCRIPT} and ${HEADER}.
namespace velmora::testkit {
extern const char kResourceScript[];
extern const char kResourceHeader[];
const char kResourceScript[] = R\"embedded(${script})embedded\";
const char kResourceHeader[] = R\"embedded(${header})embedded\";
}  // namespace velmora::testkit
")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
