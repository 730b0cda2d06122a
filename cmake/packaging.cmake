# A Debian package on Linux, a ZIP on Windows; both carry the project's one
# version number.
set(CPACK_PACKAGE_NAME grainmix)
set(CPACK_PACKAGE_VENDOR "Grain Mix developers")
set(CPACK_PACKAGE_CONTACT "Grain Mix developers <grainmix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for home-made bird-seed mixes")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://grainmix.example.org/")
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME grainmix-${PROJECT_VERSION}-win32)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION science)
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "Type how much of each of 27 grains and seeds goes into a bird-feed mix, and see
 the total amount and the mix's protein, carbohydrate, water, fibre and fat
 content as you type.")
    # dpkg-shlibdeps finds the Qt libraries; the fonts are loaded by name.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
endif()

include(CPack)
