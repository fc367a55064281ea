# Each subsystem folder builds two libraries: <name> from the folder's own
# sources (logic: plain C++ and at most Qt Core) and <name>_forms from its
# forms/ subfolder (Qt Widgets). Sources are globbed so that adding a unit
# needs no edit here.
function(tarku_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;FORMS_DEPENDS" ${ARGN})
  file(GLOB logic_src CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  # A main.cpp is the folder's executable, not part of its library.
  list(FILTER logic_src EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB forms_src CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/forms/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/forms/*.h)

  add_library(${name} STATIC ${logic_src} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core ${ARG_DEPENDS})

  add_library(${name}_forms STATIC ${forms_src} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_link_libraries(${name}_forms PUBLIC ${name} Qt6::Gui Qt6::Widgets ${ARG_FORMS_DEPENDS})
endfunction()
