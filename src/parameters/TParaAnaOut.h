#pragma once
#include "app/TForm.h"

// Window shell: its caption and word list; its controls and behaviour are built
// with the features that use it.
class TParaAnaOut : public TForm {
    Q_OBJECT
public:
    explicit TParaAnaOut(Deklarat &d);
};
