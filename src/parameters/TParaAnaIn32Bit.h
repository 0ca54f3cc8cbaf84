#pragma once
#include "app/TForm.h"

// Window shell: its caption and word list; its controls and behaviour are built
// with the features that use it.
class TParaAnaIn32Bit : public TForm {
    Q_OBJECT
public:
    explicit TParaAnaIn32Bit(Deklarat &d);
};
