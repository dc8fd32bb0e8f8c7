# Installs the build into a staging folder (DESTDIR) and fails unless it holds
# exactly the files a package must carry.
file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix /usr
                RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(icon io.github.q540.q540)
set(expected
  usr/bin/q540
  usr/bin/q540-cli
  usr/bin/q540-demo
  usr/bin/q540-sim
  usr/lib/udev/rules.d/70-q540-cable.rules
  usr/share/applications/${icon}.desktop
  usr/share/applications/io.github.q540.q540demo.desktop
  usr/share/bash-completion/completions/q540-cli
  usr/share/doc/q540/changelog.gz
  usr/share/doc/q540/copyright
  usr/share/icons/hicolor/128x128/apps/${icon}.png
  usr/share/icons/hicolor/256x256/apps/${icon}.png
  usr/share/icons/hicolor/48x48/apps/${icon}.png
  usr/share/icons/hicolor/64x64/apps/${icon}.png
  usr/share/icons/hicolor/scalable/apps/${icon}.svg
  usr/share/man/man1/q540-cli.1.gz
  usr/share/man/man1/q540-demo.1.gz
  usr/share/man/man1/q540-sim.1.gz
  usr/share/man/man1/q540.1.gz
  usr/share/metainfo/${icon}.metainfo.xml
)
file(GLOB_RECURSE installed RELATIVE ${STAGE} ${STAGE}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  list(JOIN installed "\n  " got)
  message(FATAL_ERROR "The install tree holds:\n  ${got}")
endif()
# The metainfo names the project's version.
file(READ ${STAGE}/usr/share/metainfo/${icon}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "release version=\"[0-9]+\\.[0-9]+")
  message(FATAL_ERROR "The metainfo has no release version")
endif()
