// QuilloraEditor.exe: the framework's entry runs this application object.
#include "editor/app/editor_app.h"

namespace {
CQLREditorApp theApp;
}
