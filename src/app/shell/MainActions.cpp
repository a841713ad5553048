#include "shell/MainActions.h"

#include "support/PictureView.h"

#include <QAction>
#include <QKeySequence>

namespace korvan::gui {
namespace {

struct ActionText {
    const char* text;    // as the menu shows it, with its mnemonic
    const char* key;     // empty: none
    const char* picture; // the toolbar picture's name under :/icons, empty: none
    const char* label;   // under the toolbar picture, empty: the text without its mnemonic
    const char* toolTip; // empty: as the label
};

QAction* makeAction(QObject* parent, const ActionText& entry) {
    auto* action = new QAction(QString::fromUtf8(entry.text), parent);
    // The mnemonic in parentheses, "New(&N)", is part of the text the menu shows.
    QString plain = action->text();
    plain.remove(QLatin1Char('&'));
    action->setObjectName(plain);
    if (*entry.key != '\0')
        action->setShortcut(QKeySequence(QString::fromUtf8(entry.key)));
    if (*entry.picture != '\0')
        action->setIcon(pictureIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromUtf8(entry.picture))));
    if (*entry.label != '\0')
        action->setIconText(QString::fromUtf8(entry.label));
    if (*entry.toolTip != '\0')
        action->setToolTip(QString::fromUtf8(entry.toolTip));
    return action;
}

} // namespace

MainActions createMainActions(QObject* parent) {
    MainActions a;
    a.newProject = makeAction(parent, {"New(&N)", "Ctrl+N", "new", "New", "New"});
    a.open = makeAction(parent, {"Open(&O)", "Ctrl+O", "open", "Open", "Open"});
    a.save = makeAction(parent, {"Save(&S)", "Ctrl+S", "save", "Save", "Save"});
    a.saveAs = makeAction(parent, {"Save As(&A)", "", "", "", ""});
    a.exit = makeAction(parent, {"Exit(&X)", "", "", "", ""});

    a.addNode = makeAction(parent, {"Add Node(&I)", "", "add-node", "Add Node", "Add Node"});
    a.deleteNode = makeAction(parent, {"Delete Node(&S)", "", "delete-node", "Del Node", "Delete Node"});
    a.copyNode = makeAction(parent, {"Copy Node", "", "", "", ""});
    a.pasteNode = makeAction(parent, {"Paste Node", "", "", "", ""});
    a.addCommand = makeAction(parent, {"Add Command(&A)", "", "add-command", "Add Cmd", "Add Command"});
    a.deleteCommand =
        makeAction(parent, {"Delete Command(&L)", "", "delete-command", "Del Cmd", "Delete Command"});

    a.serialSetting = makeAction(parent, {"Serial setting(&P)", "", "", "", ""});
    a.ethernetConfig = makeAction(parent, {"Ethernet Config(&C)", "", "", "", ""});
    a.upload = makeAction(parent, {"Upload(&U)", "Ctrl+U", "upload", "Upload", "Upload Configuration"});
    a.download =
        makeAction(parent, {"Download(&D)", "Ctrl+D", "download", "Download", "Download Configuration"});
    a.autoMapping =
        makeAction(parent, {"Auto Mapping(&M)", "Ctrl+M", "automap", "AutoMap", "Calculate Mapping Address"});
    a.conflictDetect = makeAction(parent, {"Conflict Detect(&T)", "Ctrl+T", "conflict", "Conflict",
                                           "Mapping Address Conflict Detection"});
    a.exportExcel = makeAction(parent, {"Export Excel(&E)", "Ctrl+E", "export", "Export", "Export Excel"});
    a.selectMode = makeAction(parent, {"Select Mode(&S)", "", "mode-switch", "Mode Switch", "Mode Switch"});
    a.showMemory =
        makeAction(parent, {"Show Memory Data(&G)", "Ctrl+G", "memory", "Memory", "Show Memory Data"});
    a.diagnose = makeAction(parent, {"Diagnose(&H)", "Ctrl+H", "diagnose", "Diagnose", "Diagnose"});
    a.serialDebug =
        makeAction(parent, {"Serial Debugging Assistant(&J)", "Ctrl+J", "debug", "Debug", "Debug"});
    a.packedAscii = makeAction(parent, {"Packed ASCII Conversion(&I)", "Ctrl+I", "", "", ""});
    a.ieee754 = makeAction(parent, {"IEEE 754 Conversion(&F)", "Ctrl+F", "", "", ""});

    a.helpContent = makeAction(parent, {"Content(&C)", "", "", "", ""});
    a.about = makeAction(parent, {"About(&A)", "", "", "", ""});
    return a;
}

ControlledActions MainActions::controlled() const {
    return {addNode,        deleteNode, copyNode, pasteNode,  addCommand, deleteCommand, serialSetting,
            ethernetConfig, upload,     download, selectMode, showMemory, diagnose,      serialDebug};
}

QList<QAction*> MainActions::fileMenu() const {
    return {newProject, open, save, saveAs};
}

QList<QAction*> MainActions::editMenu() const {
    return {addNode, deleteNode, addCommand, deleteCommand};
}

QList<QAction*> MainActions::toolMenu() const {
    return {serialSetting, ethernetConfig, upload,   download,    autoMapping, conflictDetect, exportExcel,
            selectMode,    showMemory,     diagnose, serialDebug, packedAscii, ieee754};
}

QList<QAction*> MainActions::helpMenu() const {
    return {helpContent, about};
}

QList<QAction*> MainActions::toolBar() const {
    return {newProject,    save,     open,        addNode,     deleteNode,     addCommand,
            deleteCommand, upload,   download,    autoMapping, conflictDetect, exportExcel,
            showMemory,    diagnose, serialDebug, selectMode};
}

QList<QAction*> MainActions::treeContext() const {
    return {addNode, deleteNode, copyNode, pasteNode, addCommand, deleteCommand};
}

} // namespace korvan::gui
