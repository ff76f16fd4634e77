# The binaries the package ships, by target and by place in their build folder. They are built with the
# win32-thread compilers (see the toolchain files). A build whose toolchain names MQ_DELIVERABLES_TOOLCHAIN
# (the x64 test programs' build, with the posix-thread compilers) builds them in a nested build below its own
# folder ("ship/") with that toolchain, and imports them under the same target names, so that the tests run
# exactly the binaries that ship.
set(MQ_DELIVERABLE_FILES
  MQ450UI    plugin/win32/MQ450UI.dll
  installer  installer/installer.exe
  uninstall  uninstall/uninstall.exe
  ZNTCOMMON  installer/ZNTCOMMON.DLL
  ZNTUSBMON  installer/ZNTUSBMON.DLL
  ZNTDriverlogViewer installer/ZNTDriverlogViewer.exe
  ZnUsbInt   usbhelpers/ZnUsbInt.dll
  UsbPrnLink usbhelpers/UsbPrnLink.dll)

if(NOT MQ_WINDOWS OR NOT DEFINED MQ_DELIVERABLES_TOOLCHAIN)
  # Native builds have no deliverables; the others build them in their own folder.
  set(MQ_DELIVERABLES ${MQ_WINDOWS})
  return()
endif()
set(MQ_DELIVERABLES OFF)

include(ExternalProject)
set(MQ_SHIP_DIR ${CMAKE_BINARY_DIR}/ship)
set(ship_files)
list(LENGTH MQ_DELIVERABLE_FILES count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET MQ_DELIVERABLE_FILES ${i} name)
  list(GET MQ_DELIVERABLE_FILES ${j} path)
  list(APPEND ship_files ${MQ_SHIP_DIR}/${path})
endforeach()
# Always built: its own Ninja decides what is out of date.
ExternalProject_Add(mq_ship
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${MQ_SHIP_DIR}
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${MQ_DELIVERABLES_TOOLCHAIN} -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
             -DMQ_BUILD_TESTS=OFF
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${ship_files}
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET MQ_DELIVERABLE_FILES ${i} name)
  list(GET MQ_DELIVERABLE_FILES ${j} path)
  if(path MATCHES "\\.exe$")
    add_executable(${name} IMPORTED GLOBAL)
  else()
    add_library(${name} UNKNOWN IMPORTED GLOBAL)
  endif()
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${MQ_SHIP_DIR}/${path})
  add_dependencies(${name} mq_ship)
endforeach()
