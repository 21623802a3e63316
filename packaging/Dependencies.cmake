# Read by cpack before it builds the Debian package: the library dependencies of the programs and
# modules, from dpkg-shlibdeps. RH_REQUIRED_FILES (the programs and the devices module) give the
# Depends; RH_RECOMMENDED_FILES (the browser module, loaded only when the web page opens) give the
# Recommends, without what the Depends already hold. dpkg-shlibdeps runs in RH_WORK_DIR.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
find_program(RH_SHLIBDEPS dpkg-shlibdeps)
if(NOT RH_SHLIBDEPS)
  message(FATAL_ERROR "dpkg-shlibdeps (dpkg-dev) is needed to find the package's dependencies")
endif()
# dpkg-shlibdeps wants a debian/control beside it; an empty one will do.
set(rh_work ${RH_WORK_DIR})
file(MAKE_DIRECTORY ${rh_work}/debian)
file(TOUCH ${rh_work}/debian/control)
set(rh_arguments -O --ignore-missing-info)
foreach(file IN LISTS RH_REQUIRED_FILES)
  list(APPEND rh_arguments -e${file})
endforeach()
if(RH_RECOMMENDED_FILES)
  list(APPEND rh_arguments -dRecommends)
  foreach(file IN LISTS RH_RECOMMENDED_FILES)
    list(APPEND rh_arguments -e${file})
  endforeach()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${RH_SHLIBDEPS} ${rh_arguments}
                WORKING_DIRECTORY ${rh_work}
                OUTPUT_VARIABLE rh_found
                ERROR_VARIABLE rh_error
                RESULT_VARIABLE rh_result)
file(REMOVE_RECURSE ${rh_work})
if(NOT rh_result EQUAL 0)
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${rh_error}")
endif()
if(rh_found MATCHES "shlibs:Depends=([^\n]*)")
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${CMAKE_MATCH_1}")
endif()
if(rh_found MATCHES "shlibs:Recommends=([^\n]*)")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${CMAKE_MATCH_1}")
endif()
