// Stands in front of Qt's own header for the UI-free libraries (see cmake/Layers.cmake).
#error "The core and the simulator are UI-free: they may not include Qt Gui or Qt Widgets headers."
