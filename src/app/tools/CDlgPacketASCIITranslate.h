#pragma once

#include "tools/ConverterWindow.h"

class QPlainTextEdit;
class QPushButton;

namespace korvan {
class Prompt;
}

namespace korvan::gui {

// The "Packed ASCII Translate" window: text to HART packed ASCII bytes ("=>") and back
// ("<="); the rules and messages are the core's.
class CDlgPacketASCIITranslate : public ConverterWindow {
    Q_OBJECT
public:
    explicit CDlgPacketASCIITranslate(Prompt& prompt, QWidget* parent = nullptr);

    [[nodiscard]] QPlainTextEdit* asciiText() const { return ascii_; }
    [[nodiscard]] QPlainTextEdit* hexText() const { return hex_; }
    [[nodiscard]] QPushButton* packButton() const { return pack_; }
    [[nodiscard]] QPushButton* unpackButton() const { return unpack_; }

private:
    void pack();
    void unpack();

    Prompt& prompt_;
    QPlainTextEdit* ascii_ = nullptr;
    QPlainTextEdit* hex_ = nullptr;
    QPushButton* pack_ = nullptr;
    QPushButton* unpack_ = nullptr;
};

} // namespace korvan::gui
