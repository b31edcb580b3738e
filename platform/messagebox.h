#pragma once
// The application's default error message: a modal box captioned with the application title,
// with the error icon and an OK button. Timers go on firing while it is open.

#include "platform/errors.h"

namespace vorn {

class MessageBoxPresenter : public ErrorPresenter {
public:
    void present(const QString& boxText) override;
};

}  // namespace vorn
