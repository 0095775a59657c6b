# The program's version lives in one place, project(VERSION ...). From it the
# build makes a version stamp that each executable carries: on Windows a
# VERSIONINFO resource, elsewhere a section of its own that the program reads
# back from its file (platform/VersionStamp.h).
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(_version_${part} 0)
  else()
    set(_version_${part} ${PROJECT_VERSION_${part}})
  endif()
  if(_version_${part} GREATER 65535)
    message(FATAL_ERROR "Version numbers are 16-bit: ${PROJECT_VERSION}")
  endif()
endforeach()
set(VORNIK_VERSION_MAJOR ${_version_MAJOR})
set(VORNIK_VERSION_MINOR ${_version_MINOR})
set(VORNIK_VERSION_RELEASE ${_version_PATCH})
set(VORNIK_VERSION_BUILD ${_version_TWEAK})
set(VORNIK_VERSION_TEXT
  "${VORNIK_VERSION_MAJOR}.${VORNIK_VERSION_MINOR}.${VORNIK_VERSION_RELEASE}.${VORNIK_VERSION_BUILD}")

set(_stamp_dir ${CMAKE_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/platform/VersionStamp.cpp.in ${_stamp_dir}/VersionStamp.cpp @ONLY)
add_library(vornik_version_stamp OBJECT ${_stamp_dir}/VersionStamp.cpp)
target_include_directories(vornik_version_stamp PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(vornik_version_stamp PROPERTIES AUTOMOC OFF AUTORCC OFF)
if(WIN32)
  configure_file(${PROJECT_SOURCE_DIR}/app/vornik.rc.in ${_stamp_dir}/vornik.rc @ONLY)
endif()

# Gives an executable the version stamp.
function(vornik_stamp_version target)
  target_link_libraries(${target} PRIVATE vornik_version_stamp)
  if(WIN32)
    target_sources(${target} PRIVATE ${_stamp_dir}/vornik.rc)
  endif()
endfunction()
