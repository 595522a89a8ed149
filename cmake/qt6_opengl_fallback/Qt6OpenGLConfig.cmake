# Qt6::OpenGL for a system that has the library (libqt6opengl6) and its headers (qt6-base-dev)
# but not its CMake package (libqt6opengl6-dev), which Qt Charts asks for. The top-level
# CMakeLists.txt points here only when the real package is missing.
if(NOT TARGET Qt6::OpenGL)
  find_library(quorvel_qt6_opengl_library NAMES Qt6OpenGL libQt6OpenGL.so.6 REQUIRED)
  get_target_property(quorvel_qt6_gui_includes Qt6::Gui INTERFACE_INCLUDE_DIRECTORIES)
  list(GET quorvel_qt6_gui_includes 0 quorvel_qt6_gui_include)
  add_library(Qt6::OpenGL SHARED IMPORTED)
  set_target_properties(Qt6::OpenGL PROPERTIES
    IMPORTED_LOCATION "${quorvel_qt6_opengl_library}"
    INTERFACE_INCLUDE_DIRECTORIES "${quorvel_qt6_gui_include}/../QtOpenGL"
    INTERFACE_LINK_LIBRARIES Qt6::Gui)
  add_library(Qt::OpenGL INTERFACE IMPORTED)
  set_target_properties(Qt::OpenGL PROPERTIES INTERFACE_LINK_LIBRARIES Qt6::OpenGL)
endif()
set(Qt6OpenGL_FOUND TRUE)
