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
    case ShowEnd::closed:
        break;
    }
    return nullptr;
}

template <typename Outcome> void endOnFailure(Outcome outcome) {
    if (const ErrorMessage* message = messageFor(outcome)) {
        fatalError(*message);
    }
}

template void endOnFailure(DefaultsOutcome);
template void endOnFailure(ShowEnd);
