# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The one library of the folder this is called from, named kelmo_<folder>: every .cpp, .h and .ui of the
# folder, linked publicly to what follows USA.
function(kelmo_libreria nome)
  cmake_parse_arguments(PARSE_ARGV 1 kelmo "" "" USA)
  get_filename_component(cartella ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  if(NOT nome STREQUAL "kelmo_${cartella}")
    message(FATAL_ERROR "src/${cartella}/ holds the library kelmo_${cartella}, not ${nome}")
  endif()
  file(GLOB sorgenti CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  qt_add_library(${nome} STATIC ${sorgenti})
  # Includes name the folder: "kit/Salvataggio.h".
  target_include_directories(${nome} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
  # The uic headers are public, so that tests reach the windows' controls.
  target_include_directories(${nome} PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/${nome}_autogen/include)
  target_link_libraries(${nome} PUBLIC ${kelmo_USA})
endfunction()
