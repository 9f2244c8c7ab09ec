# Writes the pages' service worker from its template, for the files of this
# build: each listed with its SHA-256, and the cache named for the version
# and a hash of them all, so that any changed file makes a new cache.
#
#   cmake -DTEMPLATE=service_worker.js.in -DOUTPUT=service-worker.js
#         -DDIR=<folder of the files> -DVERSION=<version> "-DFILES=<name;...>"
#         -P service_worker.cmake
foreach(name IN ITEMS TEMPLATE OUTPUT DIR VERSION FILES)
    if(NOT DEFINED ${name} OR "${${name}}" STREQUAL "")
        message(FATAL_ERROR "service_worker.cmake: -D${name}=... not given")
    endif()
endforeach()

set(FILE_HASHES "")
set(listing "")
foreach(file IN LISTS FILES)
    if(NOT EXISTS "${DIR}/${file}")
        message(FATAL_ERROR "service_worker.cmake: no ${DIR}/${file}")
    endif()
    file(SHA256 "${DIR}/${file}" hash)
    string(APPEND FILE_HASHES "  '${file}': '${hash}',\n")
    string(APPEND listing "${file} ${hash}\n")
endforeach()
string(SHA256 contents "${listing}")
string(SUBSTRING "${contents}" 0 16 contents)
set(CACHE_NAME "quenn-${VERSION}-${contents}")

file(READ "${TEMPLATE}" worker)
string(CONFIGURE "${worker}" worker @ONLY)
file(WRITE "${OUTPUT}" "${worker}")
