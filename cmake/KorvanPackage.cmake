include_guard(GLOBAL)
# The Debian package, built by `cpack -G DEB` in the build folder from the same install as
# `cmake --install`, under /usr. The runtime dependencies come from dpkg-shlibdeps (package
# dpkg-dev), which reads the libraries the programs link; the code-table libraries are
# loaded at run time and packaged with the programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Trevik Automation")
set(CPACK_PACKAGE_CONTACT "Korvan developers <korvan@trevik.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration and debugging tool for Vela HART-to-Modbus gateways")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description under the summary line; CPack indents it and marks the empty line
# between its paragraphs as Debian control files want.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Korvan configures and debugs the Vela family of HART-to-Modbus gateways
(Vela-1H-TCP, Vela-3H-TCP, Vela-3H-RTU): which HART devices and commands each
gateway channel polls and where their data land in Modbus memory. Projects are
XML files, downloaded into a gateway over Ethernet or a serial line and
uploaded back; live tools diagnose a running gateway.

The package holds the desktop program korvan, the command-line tool korvanctl
and the gateway simulator vela-sim.")
# The program writes its first-run wizard flag, config.ini, beside itself; it is no file of
# the package, so removing the package takes it away with its folder.
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian-postrm.in ${CMAKE_BINARY_DIR}/package/postrm @ONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/package/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Only what `cmake --install` installs goes into the package; tests and benchmarks install nothing.
include(CPack)
