# The Debian package: `cpack -G DEB` in the build folder turns the install tree
# into tavek_<version>_<arch>.deb. It holds files only: no maintainer scripts,
# so installing it adds nobody to a group and changes no setting.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavek)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tavek developers")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/tavek/tavek")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure KVZ GSM alarm modems over a serial port")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavek is a desktop program for the KVZ family of GSM alarm modems. It talks
AT command lines to the modem over a serial port at 9600 bit/s: it checks that
the modem answers, reads and writes the configuration of its three alarm
inputs and its 20-entry phone book, switches its relay, restores its factory
communication settings and resets its whole configuration.

The package also holds tavek-virtual-modem, a modem on a pseudo-terminal for
trying Tavek without hardware, and an example udev rule that keeps
ModemManager away from one serial adapter.")
set(TAVEK_PACKAGE_MAINTAINER "The Tavek developers <maintainers@users.noreply.c-seed-917c077c.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVEK_PACKAGE_MAINTAINER}")

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the Qt libraries the programs link. That covers the
# plugins too: Debian ships Qt's xcb platform plugin in libqt6gui6 and the SVG
# image and icon plugins in libqt6svg6, both libraries the programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Tavek's own translations are built in; Qt's (the message boxes' standard
# buttons, the file dialogs) come from Debian's package.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The build keeps debug information; the package does not need it.
set(CPACK_STRIP_FILES ON)

include(CPack)
