# The package's version number, kept once in the file VERSION at the top of the tree (MAJOR.MINOR.PATCH). It
# goes into the version resource of every shipped binary, the Version page's texts (through the generated
# header PackageVersion.h of the target mq_version), `mq450 --version` and the release archive's name.
file(STRINGS ${PROJECT_SOURCE_DIR}/VERSION MQ_VERSION LIMIT_COUNT 1)
string(STRIP "${MQ_VERSION}" MQ_VERSION)
if(NOT MQ_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "VERSION must hold MAJOR.MINOR.PATCH, found \"${MQ_VERSION}\"")
endif()
set(MQ_VERSION_MAJOR ${CMAKE_MATCH_1})
set(MQ_VERSION_MINOR ${CMAKE_MATCH_2})
set(MQ_VERSION_PATCH ${CMAKE_MATCH_3})
# Every part of a version resource's number is 16 bits.
foreach(part MAJOR MINOR PATCH)
  if(MQ_VERSION_${part} GREATER 65535)
    message(FATAL_ERROR "VERSION part ${part} is over 65535: ${MQ_VERSION}")
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/VERSION)

set(MQ_VERSION_DIR ${CMAKE_BINARY_DIR}/version)
configure_file(${CMAKE_CURRENT_LIST_DIR}/PackageVersion.h.in ${MQ_VERSION_DIR}/PackageVersion.h @ONLY)
add_library(mq_version INTERFACE)
target_include_directories(mq_version INTERFACE ${MQ_VERSION_DIR})

# What each shipped binary's version resource says it is (FileDescription).
set(MQ_VERSION_DESCRIPTIONS
  MQ450UI            "MQ-450 printer driver user interface plug-in"
  installer          "MQ printer setup"
  uninstall          "MQ printer removal"
  ZNTCOMMON          "Serial port monitor (sample package stand-in)"
  ZNTUSBMON          "USB port monitor (sample package stand-in)"
  ZNTDriverlogViewer "Driver log viewer (sample package stand-in)"
  ZnUsbInt           "USB printer helper library (vendor devices)"
  UsbPrnLink         "USB printer helper library (printer-class printers)")

if(MQ_WINDOWS)
  enable_language(RC)
endif()

# Gives every shipped binary built in this folder its own version resource, a .rc file configured per target
# (so that the binaries' other resource files stay as they are). Call after the targets are defined.
function(mq_add_version_resources)
  if(NOT MQ_WINDOWS)
    return()
  endif()
  list(LENGTH MQ_DELIVERABLE_FILES count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET MQ_DELIVERABLE_FILES ${i} target)
    list(GET MQ_DELIVERABLE_FILES ${j} path)
    if(NOT TARGET ${target})
      continue()
    endif()
    get_target_property(imported ${target} IMPORTED)
    if(imported)
      continue()
    endif()
    list(FIND MQ_VERSION_DESCRIPTIONS ${target} at)
    if(at LESS 0)
      message(FATAL_ERROR "cmake/Version.cmake: no description for the shipped binary ${target}")
    endif()
    math(EXPR at "${at} + 1")
    list(GET MQ_VERSION_DESCRIPTIONS ${at} MQ_FILE_DESCRIPTION)
    get_filename_component(MQ_FILE_NAME ${path} NAME)
    get_filename_component(MQ_INTERNAL_NAME ${path} NAME_WE)
    if(path MATCHES "\\.exe$")
      set(MQ_FILE_TYPE 1)  # VFT_APP
    else()
      set(MQ_FILE_TYPE 2)  # VFT_DLL
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${MQ_VERSION_DIR}/${target}Version.rc @ONLY)
    target_sources(${target} PRIVATE ${MQ_VERSION_DIR}/${target}Version.rc)
  endforeach()
endfunction()
