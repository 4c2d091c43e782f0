# The FA(3) schema set is not part of the program: the build places a copy
# beside the executables as sql/. Its source is the cache variable
# VELKOR_SCHEMA_DIR, else the environment variable of the same name, else the
# shared folder next to the checkout.
set(_velkor_default_schema_dir "${CMAKE_SOURCE_DIR}/../shared/fa3/sql")
if(DEFINED ENV{VELKOR_SCHEMA_DIR} AND NOT "$ENV{VELKOR_SCHEMA_DIR}" STREQUAL "")
  set(_velkor_default_schema_dir "$ENV{VELKOR_SCHEMA_DIR}")
endif()
set(VELKOR_SCHEMA_DIR "${_velkor_default_schema_dir}" CACHE PATH
    "Folder holding schemaFA3.xsd and the schema files it imports")
get_filename_component(VELKOR_SCHEMA_DIR "${VELKOR_SCHEMA_DIR}" ABSOLUTE)

set(VELKOR_SCHEMA_BUILD_DIR "${CMAKE_BINARY_DIR}/bin/sql")
if(EXISTS "${VELKOR_SCHEMA_DIR}/schemaFA3.xsd")
  set(VELKOR_HAVE_SCHEMA ON)
  file(GLOB _velkor_schema_files CONFIGURE_DEPENDS "${VELKOR_SCHEMA_DIR}/*.xsd")
  set(_velkor_schema_copies)
  foreach(_file IN LISTS _velkor_schema_files)
    get_filename_component(_name "${_file}" NAME)
    add_custom_command(
      OUTPUT "${VELKOR_SCHEMA_BUILD_DIR}/${_name}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${VELKOR_SCHEMA_BUILD_DIR}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different "${_file}" "${VELKOR_SCHEMA_BUILD_DIR}/${_name}"
      DEPENDS "${_file}"
      COMMENT "Placing schema file ${_name} beside the executable"
      VERBATIM)
    list(APPEND _velkor_schema_copies "${VELKOR_SCHEMA_BUILD_DIR}/${_name}")
  endforeach()
  add_custom_target(velkor_schema ALL DEPENDS ${_velkor_schema_copies})
else()
  set(VELKOR_HAVE_SCHEMA OFF)
  message(WARNING "No schemaFA3.xsd in '${VELKOR_SCHEMA_DIR}': the viewer will report every load "
                  "as failed. Set VELKOR_SCHEMA_DIR to the FA(3) schema folder.")
  add_custom_target(velkor_schema)
endif()
