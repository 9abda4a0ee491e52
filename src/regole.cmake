# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The rules library: the program's decisions as plain functions over values, free of widgets, files and
# the network. Its files stay in the folders of the subsystems they belong to; this list, the one place
# that names them, is read by the program's build (src/CMakeLists.txt), by the fuzz targets' own clang
# project (fuzz/CMakeLists.txt) and by the layer check (tests/strati.py).
set(KELMO_REGOLE
  app/Errore.h
  app/TastoNumerico.cpp app/TastoNumerico.h
  app/Contrasto.cpp app/Contrasto.h
  app/Numeri.cpp app/Numeri.h
  main/Estrazione.cpp main/Estrazione.h
  main/TestiStampa.cpp main/TestiStampa.h
  settings/FormatoNumeroFisso.cpp settings/FormatoNumeroFisso.h
  settings/TestoTraduzione.cpp settings/TestoTraduzione.h
  update/Criterio.cpp update/Criterio.h
  update/CorpoDocumento.cpp update/CorpoDocumento.h
  update/Scansione.cpp update/Scansione.h)
list(TRANSFORM KELMO_REGOLE PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

qt_add_library(kelmo_regole STATIC ${KELMO_REGOLE})
target_include_directories(kelmo_regole PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# QColor for the contrast arithmetic is Qt GUI's; nothing of it draws.
target_link_libraries(kelmo_regole PUBLIC Qt6::Core Qt6::Gui LibXml2::LibXml2)
