#include "app/messages.h"

std::string supportText() {
    return std::string("\n\nFor support contact us at ") + supportEmailAddress + "\nOr Visit " +
           siteHostName;
}

std::string composeErrorText(const ErrorMessage& message) {
    return message.text + supportText();
}
