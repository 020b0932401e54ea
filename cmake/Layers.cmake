# The layer rules, enforced by the compiler rather than by convention.
#
# Every include is written from the top of the source tree ("core/link/FrameCodec.h"). A library
# below the windows does not get the source tree on its include path: it gets a folder of its own
# in the build tree that holds a link to its layer alone, so "gui/..." cannot be found from the
# core or the simulator. Qt Gui and Qt Widgets are not linked there, so <QWidget> is not found
# either; and the headers in cmake/core-only stand in front of Qt's for the module-qualified
# spellings (<QtWidgets/QWidget>, <QtGui/QColor>) and stop the compile with a message.

# quma_layer_root(target layer): `target` sees "<layer>/..." and nothing else of the tree.
function(quma_layer_root target layer)
    set(root "${PROJECT_BINARY_DIR}/layers/${layer}")
    file(MAKE_DIRECTORY "${root}")
    if(NOT EXISTS "${root}/${layer}")
        file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${layer}" "${root}/${layer}" SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC "${root}")
endfunction()

# quma_ui_free(target): compiling `target` fails as soon as it includes a Qt Gui or Widgets header.
function(quma_ui_free target)
    target_include_directories(${target} BEFORE PRIVATE "${PROJECT_SOURCE_DIR}/cmake/core-only")
endfunction()

# quma_gui_floor(target): the windows' ground floor sees "gui/shared/..." and, through the core,
# "core/..."; no feature folder of the windows and no main window.
function(quma_gui_floor target)
    set(root "${PROJECT_BINARY_DIR}/layers/gui-shared")
    file(MAKE_DIRECTORY "${root}/gui")
    if(NOT EXISTS "${root}/gui/shared")
        file(CREATE_LINK "${PROJECT_SOURCE_DIR}/gui/shared" "${root}/gui/shared" SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC "${root}")
endfunction()
