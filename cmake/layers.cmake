# The layers of the program, lowest first, and what each stands on. A layer's code includes its own headers
# and those of the layers it stands on, and nothing else: the build compiles each layer against a folder that
# shows it only these, and the test "layer_includes" (tests/check_includes.cmake) checks every include of
# src/ against this table.
set(TALLYFORM_LAYERS text model archive ports pcad elements valuecheck document presentation app adapters cli gui)
set(TALLYFORM_CORE_LAYERS app presentation document elements valuecheck pcad archive ports model text)

set(TALLYFORM_BELOW_text "")
set(TALLYFORM_BELOW_model text)
set(TALLYFORM_BELOW_archive model text)
set(TALLYFORM_BELOW_ports model text)
# The P-CAD design link: the Dbx port over P-CAD ASCII files or over P-CAD's own DBX library, and the messages
# of its statuses.
set(TALLYFORM_BELOW_pcad ports model text)
set(TALLYFORM_BELOW_elements archive ports model text)
set(TALLYFORM_BELOW_valuecheck archive ports model text)
set(TALLYFORM_BELOW_document elements valuecheck archive ports model text)
set(TALLYFORM_BELOW_presentation document elements valuecheck archive ports model text)
set(TALLYFORM_BELOW_app presentation document elements valuecheck pcad archive ports model text)
# Qt begins here: the adapters implement the ports; the two programs stand on them, neither on the other.
set(TALLYFORM_BELOW_adapters ${TALLYFORM_CORE_LAYERS})
set(TALLYFORM_BELOW_cli adapters ${TALLYFORM_CORE_LAYERS})
set(TALLYFORM_BELOW_gui adapters ${TALLYFORM_CORE_LAYERS})

# Layers whose headers a layer sees through the layers it uses, but does not include itself: the desktop
# program reaches the value check only through the app layer.
set(TALLYFORM_HIDDEN_gui valuecheck)
# Layers whose code may include Qt.
set(TALLYFORM_QT_LAYERS adapters cli gui)
