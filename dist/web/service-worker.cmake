# Writes the service worker with its cache's name: the program's name and
# version and a short hash of the cached files' contents, so that the same
# sources always give the same worker and any change to a file a new one.
#   cmake -DSITE=folder -DFILES=a,b,... -DNAME=grainmix -DVERSION=x.y.z
#         -DTEMPLATE=service-worker.js.in -DOUT=service-worker.js -P service-worker.cmake
string(REPLACE "," ";" files "${FILES}")
set(digests)
set(quoted)
foreach(file IN LISTS files)
    file(SHA256 "${SITE}/${file}" digest)
    string(APPEND digests "${digest}  ${file}\n")
    list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 hash "${digests}")
string(SUBSTRING "${hash}" 0 12 hash)
set(CACHE_PREFIX "${NAME}-")
set(CACHE_NAME "${NAME}-${VERSION}-${hash}")
list(JOIN quoted ", " CACHE_FILES)
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
