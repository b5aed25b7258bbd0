# Writes the page's service worker: the template with the page's files and a cache name that
# is a hash of their contents, so that every build that changes a file has a cache of its own.
# Usage: cmake -DPAGE=dir -DFILES="a;b" -DIN=sw.js -DOUT=dir/sw.js -P service_worker.cmake
set(sums "")
set(names "")
foreach(name IN LISTS FILES)
  file(SHA256 ${PAGE}/${name} sum)
  string(APPEND sums "${name} ${sum}\n")
  list(APPEND names "'${name}'")
endforeach()
string(SHA256 build "${sums}")
string(SUBSTRING ${build} 0 16 build)
list(JOIN names ", " QUILLORN_FILES)
set(QUILLORN_CACHE quillorn-${build})
configure_file(${IN} ${OUT} @ONLY)
