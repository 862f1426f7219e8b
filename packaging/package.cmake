# The driver packages, laid out from the four Windows builds, and their archive.
# Configured on its own (./qx package): cmake -S . -B build/package-tree -DQX_PACKAGE=ON.
# Lays out build/package/nt60 and build/package/nt52, each with the INF, the
# PPDs and the configuration file, the x64 plug-in in amd64/ and the x86 one
# in i386/; `cpack` in the configured folder makes the archive of them.
set(QX_BUILD ${CMAKE_SOURCE_DIR}/build)
set(QX_PACKAGE_DIR ${QX_BUILD}/package CACHE PATH "Where the package folders go")
# The PostScript driver as the core driver of package-aware drivers.
set(QX_PSCRIPT_CORE "{D20EA372-DD35-4950-9ED8-A6335AFE79F1}")

foreach(preset x64-nt60 x86-nt60 x64-nt52 x86-nt52)
  if(NOT EXISTS ${QX_BUILD}/${preset}/quillex.dll)
    message(FATAL_ERROR "qx package: missing build/${preset}/quillex.dll: build it first (./qx build ${preset})")
  endif()
endforeach()

file(REMOVE_RECURSE ${QX_PACKAGE_DIR})
foreach(systems nt60 nt52)
  set(out ${QX_PACKAGE_DIR}/${systems})
  if(systems STREQUAL "nt60")
    # Vista and later: package-aware, the PostScript driver as core driver.
    set(QX_INF_SYSTEMS "NT 6.0 and later")
    set(QX_INF_OS ".6.0")
    set(QX_INF_CORE "CoreDriverSections=\"${QX_PSCRIPT_CORE},PSCRIPT.OEM,PSCRIPT_DATA\"")
    set(QX_INF_PACKAGE_AWARE "
; Package-aware: every file of ours is named uniquely, and the PostScript
; driver's files come from its own core driver package.
[PrinterPackageInstallation.amd64]
PackageAware=TRUE
CoreDriverDependencies=${QX_PSCRIPT_CORE}

[PrinterPackageInstallation.x86]
PackageAware=TRUE
CoreDriverDependencies=${QX_PSCRIPT_CORE}
")
  else()
    # XP and Server 2003 know no core driver packages: the PostScript driver
    # comes from the system's printer INF.
    set(QX_INF_SYSTEMS "NT 5.2 (XP and Server 2003)")
    set(QX_INF_OS "")
    set(QX_INF_CORE "DataSection=PSCRIPT_DATA\nInclude=ntprint.inf\nNeeds=PSCRIPT.OEM")
    set(QX_INF_PACKAGE_AWARE "")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/packaging/quillex.inf.in ${out}/quillex.inf @ONLY NEWLINE_STYLE CRLF)
  file(COPY ${CMAKE_SOURCE_DIR}/examples/orvanta-ql-c5200.ppd ${CMAKE_SOURCE_DIR}/examples/orvanta-ql-m4100.ppd
    ${CMAKE_SOURCE_DIR}/examples/orvanta-ps.ini DESTINATION ${out})
  file(COPY ${QX_BUILD}/x64-${systems}/quillex.dll DESTINATION ${out}/amd64)
  file(COPY ${QX_BUILD}/x86-${systems}/quillex.dll DESTINATION ${out}/i386)
endforeach()

# The builds keep their debugging information; the packages ship without it.
function(qx_strip tool file)
  find_program(QX_STRIP_${tool} ${tool}-strip REQUIRED)
  execute_process(COMMAND ${QX_STRIP_${tool}} --strip-debug ${file} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "qx package: cannot strip ${file}")
  endif()
endfunction()

# The administrator's PPD tool, when the x64 NT 6.0 build made it.
if(EXISTS ${QX_BUILD}/x64-nt60/qx-ppd.exe)
  file(COPY ${QX_BUILD}/x64-nt60/qx-ppd.exe DESTINATION ${QX_PACKAGE_DIR}/tools)
  qx_strip(x86_64-w64-mingw32 ${QX_PACKAGE_DIR}/tools/qx-ppd.exe)
else()
  message(STATUS "qx package: build/x64-nt60/qx-ppd.exe not built: the package has no qx-ppd.exe")
endif()
foreach(systems nt60 nt52)
  qx_strip(x86_64-w64-mingw32 ${QX_PACKAGE_DIR}/${systems}/amd64/quillex.dll)
  qx_strip(i686-w64-mingw32 ${QX_PACKAGE_DIR}/${systems}/i386/quillex.dll)
endforeach()
file(COPY ${CMAKE_SOURCE_DIR}/CHANGELOG.md ${CMAKE_SOURCE_DIR}/docs/administration.md DESTINATION ${QX_PACKAGE_DIR})

set(CPACK_PACKAGE_NAME quillex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orvanta)
set(CPACK_SYSTEM_NAME windows)
set(CPACK_GENERATOR ZIP)
get_filename_component(CPACK_PACKAGE_DIRECTORY ${QX_PACKAGE_DIR} DIRECTORY)
# The folders as laid out (and signed) above, not an install of the builds.
set(CPACK_INSTALLED_DIRECTORIES "${QX_PACKAGE_DIR};.")
set(CPACK_INSTALL_CMAKE_PROJECTS "")
include(CPack)
