#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace zrn::ui {

class TDBLookupComboBox;

//! The characters typed so far in a type-ahead search. One buffer for the whole program:
//! typing in one list continues the search of another until a lookup combo box is entered.
QString& TypeAheadBuffer();

//! The search behind every type-ahead: appends ch to the buffer, then looks for the first of
//! count entries whose text begins with the buffer (without regard to case); while none
//! does, drops the buffer's first character (keeping at most maxChars when that is above 0)
//! until the buffer is empty. A space only extends the buffer unless searchOnSpace. Returns
//! the entry found, or -1.
int TypeAheadSearch(int count, const std::function<QString(int)>& entryText, QChar ch,
                    bool searchOnSpace, int maxChars);

//! Type-ahead search for a typed character in a list control: appends it to the buffer and
//! selects the first entry whose text begins with the buffer (without regard to case),
//! dropping characters from the front of the buffer until an entry matches or the buffer is
//! empty. Handles lookup combo boxes (which also write the key of the row reached), plain
//! combo boxes and list views. False for characters below 32 and other controls.
bool TypeAheadLookup(QWidget* control, QChar ch);

//! Called when a lookup combo box is entered: empties the buffer and, when its data field is
//! empty, chooses the first row of its list.
void SelectFirstIfEmpty(TDBLookupComboBox& combo);

//! Gives a plain combo box or list view the type-ahead search: install it as an event
//! filter on the control (installTypeAhead does both).
class TypeAheadFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

//! Installs a TypeAheadFilter (owned by the control) on a combo box or list view.
void installTypeAhead(QWidget* control);

//! The printable character a key event types, or a null character when it types none (a
//! control character, or a key pressed with Ctrl, Alt or Meta).
QChar TypedCharacter(const QEvent* event);

} // namespace zrn::ui
