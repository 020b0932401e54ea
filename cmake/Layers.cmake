# The layer rules, enforced by the compiler rather than by convention.
#
# Every include is written from the top of the source tree ("core/link/FrameCodec.h"). A library
# below the windows does not get the source tree on its include path: it gets a folder of its own
# in the build tree that holds a link to its layer alone, so "gui/..." cannot be found from the
# core or the simulator. Qt Gui and Qt Widgets are not linked there, so <QWidget> is not found
# either; and the headers in cmake/core-only stand in front of Qt's for the module-qualified
# spellings (<QtWidgets/QWidget>, <QtGui/QColor>) and stop the compile with a message.

# quma_layer_root(target layer): `target` sees "<layer>/..." and nothing else of the tree (a layer
# may be a nested folder such as gui/shared).
function(quma_layer_root target layer)
    string(REPLACE "/" "-" name "${layer}")
    set(root "${PROJECT_BINARY_DIR}/layers/${name}")
    get_filename_component(parent "${root}/${layer}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    if(NOT EXISTS "${root}/${layer}")
        file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${layer}" "${root}/${layer}" SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC "${root}")
endfunction()

# quma_ui_free(target): compiling `target` fails as soon as it includes a Qt Gui or Widgets header.
function(quma_ui_free target)
    target_include_directories(${target} BEFORE PRIVATE "${PROJECT_SOURCE_DIR}/cmake/core-only")
endfunction()

