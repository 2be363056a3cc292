# cmake -D OUTPUT=<file> -D FILES=<file;...> -P Sha256Sums.cmake
# Writes the sums in the form `sha256sum -c` reads: "<hash>  <name>" a line.
set(lines "")
foreach(file IN LISTS FILES)
  file(SHA256 "${file}" hash)
  get_filename_component(name "${file}" NAME)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE "${OUTPUT}" "${lines}")
