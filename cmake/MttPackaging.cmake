# Installation of the libraries as a package: a CMake package
# (find_package(mtt) -> mtt::mtt, and mtt::template when the host is built)
# and pkg-config files (mtt.pc; mtt-template.pc from host/). The
# libraries and headers install themselves in their own folders.
include(CMakePackageConfigHelpers)

set(MTT_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/mtt)

install(EXPORT mttTargets
  NAMESPACE mtt::
  DESTINATION ${MTT_CMAKE_PACKAGE_DIR})

configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/mttConfig.cmake.in
  ${PROJECT_BINARY_DIR}/mttConfig.cmake
  INSTALL_DESTINATION ${MTT_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/mttConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/mttConfig.cmake
  ${PROJECT_BINARY_DIR}/mttConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/MttGenerate.cmake
  DESTINATION ${MTT_CMAKE_PACKAGE_DIR})

# The .pc file finds the prefix from its own place, so that the tree can be
# installed with "cmake --install --prefix" anywhere and moved afterwards.
set(MTT_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(MTT_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(MTT_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(MTT_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
  file(RELATIVE_PATH MTT_PC_RELATIVE_PREFIX /prefix/${MTT_PC_DIR} /prefix)
  set(MTT_PC_PREFIX "\${pcfiledir}/${MTT_PC_RELATIVE_PREFIX}")
  set(MTT_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(MTT_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/mtt.pc.in ${PROJECT_BINARY_DIR}/mtt.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/mtt.pc DESTINATION ${MTT_PC_DIR})
