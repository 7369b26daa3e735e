# The Debian package (./package.sh): everything `cmake --install` puts under /usr, with the
# spoken waves and the question database built inside it, so office PCs need no compiler,
# espeak-ng or test framework.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varenta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Varenta Maintainers <maintainers@varenta.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screening of young clients for juvenile court services")
# The extended description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Varenta is a keyboard-driven desktop program with which the staff of a
juvenile court service screen young clients: a 116-item self-report test on
screen (read aloud in English or Spanish) or on paper, scored on five scales
into a confidential report that staff view, annotate and print.

Each user keeps their own settings and reports; varenta-cli does the same
work from the command line, without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Libraries from the binaries; the rest is used at run time: the fixed-pitch face the
# reports ask for ("Courier New" resolves to Liberation Mono), the spooler's lp for raw
# printing, and Qt's SQLite driver for the question database.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, cups-client, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
