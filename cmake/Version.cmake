# SPDX-License-Identifier: GPL-3.0-or-later
# The version number lives in project(VERSION) alone; the programs read it
# from a generated header, the package from PROJECT_VERSION.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
    ${CMAKE_BINARY_DIR}/generated/chancenraster/version.h @ONLY)
add_library(chancenraster_version INTERFACE)
target_include_directories(chancenraster_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
