# The Debian package, which carries the project's one version number.
# scripts/package.sh makes it, and the Windows ZIP with cmake/zip-folder.py,
# which unlike CPack's ZIP gives the same bytes from the same files.
set(CPACK_PACKAGE_NAME grainmix)
set(CPACK_PACKAGE_VENDOR "Grain Mix developers")
set(CPACK_PACKAGE_CONTACT "Grain Mix developers <grainmix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for home-made bird-seed mixes")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://grainmix.example.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/stage-times.cmake)

if(GRAINMIX_QT)
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION science)
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "Type how much of each of 27 grains and seeds goes into a bird-feed mix, and
see the total amount and the mix's protein, carbohydrate, water, fibre and
fat content as you type.")
    # dpkg-shlibdeps finds the Qt libraries; the fonts are loaded by name.
    # The narrow face the window is drawn in is a package of its own since
    # Liberation 2, which has none; before, fonts-liberation brought it.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "fonts-liberation-sans-narrow | fonts-liberation (<< 1:1.07.6-1~)")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

    # What Debian asks of a package besides the program: the copyright in
    # its machine-readable form, the changelog, a manual page. They are made
    # when configuring, so that building the program alone is enough to
    # package it; gzip -n leaves out the name and time, which would make
    # every build's package differ.
    include(GNUInstallDirs)
    set(dist ${PROJECT_SOURCE_DIR}/dist)
    set(changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
        ${changelog} ${dist}/debian-changelog.sh)
    configure_file(${dist}/grainmix.1.in grainmix.1 @ONLY)
    execute_process(
        COMMAND sh -c "gzip -9n <grainmix.1 >grainmix.1.gz && \
bash '${dist}/debian-changelog.sh' '${changelog}' grainmix '${CPACK_PACKAGE_CONTACT}' | gzip -9n >changelog.gz"
        WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
        COMMAND_ERROR_IS_FATAL ANY)
    set(docDir ${CMAKE_INSTALL_DATADIR}/doc/grainmix)
    install(FILES ${PROJECT_BINARY_DIR}/grainmix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${dist}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/THIRD-PARTY.md
        DESTINATION ${docDir})
    include(CPack)
endif()
