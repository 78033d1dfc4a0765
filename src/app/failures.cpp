#include "app/failures.h"

#include "app/fatal_error.h"

const ErrorMessage* messageFor(DefaultsOutcome outcome) {
    switch (outcome) {
    case DefaultsOutcome::fileUncreatable:
        return &errorMessages::settingsFileUncreatable;
    case DefaultsOutcome::notWritten:
        return &errorMessages::settingsUnsaved;
    case DefaultsOutcome::written:
        break;
    }
    return nullptr;
}

const ErrorMessage* messageFor(ShowEnd end) {
    switch (end) {
    case ShowEnd::settingsUnreadable:
        return &errorMessages::showSettingsUnreadable;
    case ShowEnd::pictureUnloadable:
        return &errorMessages::imageUnloadable;
    case ShowEnd::musicUnlaunchable:
        return &errorMessages::musicUnlaunchable;
    case ShowEnd::windowUnmade:
        return &errorMessages::showWindowUnmade;
    case ShowEnd::closed:
        break;
    }
    return nullptr;
}

template <typename Outcome> void endOnFailure(const ProgramTexts& texts, Outcome outcome) {
    if (const ErrorMessage* message = messageFor(outcome)) {
        fatalError(texts, *message);
    }
}

template void endOnFailure(const ProgramTexts&, DefaultsOutcome);
template void endOnFailure(const ProgramTexts&, ShowEnd);
