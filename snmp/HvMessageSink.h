#pragma once
// Where a binding writes its one-line request log: a widget-free face of the three kinds of
// message control a window may give it (a memo, a status bar, a panel of a status bar). The
// widget layer implements it over the real controls; the SNMP layer sees only this.
#include <string>

class HvMessageSink {
public:
    enum class Kind {
        Memo,         // the line is appended as the new last line
        StatusBar,    // the line becomes the bar's simple text
        StatusPanel,  // the line becomes the panel's text
        Other,        // a control of another kind: it gets nothing
    };

    virtual ~HvMessageSink() = default;
    virtual Kind MessageKind() const = 0;
    // Memo: append a line.
    virtual void AppendLine(const std::string& line) { (void)line; }
    // Status bar: set the simple text.
    virtual void SetSimpleText(const std::string& text) { (void)text; }
    // Status panel: set the panel text.
    virtual void SetText(const std::string& text) { (void)text; }
};
