#pragma once

#include <string>

#include "Scene/TempLists.h"
#include "Script/ScriptErrorLog.h"

// The game object of that name in the temp list when it is of kind T, else null.
template <class T>
T* find_object(const std::string& name) {
    return dynamic_cast<T*>(TempLists::instance().game_objects.find(name));
}

// The same for a script function, telling the script error log when the name is not there (or
// not of that kind); what names the kind in the message.
template <class T>
T* find_object(const std::string& name, const char* function, const char* what) {
    T* found = find_object<T>(name);
    if (!found)
        ScriptErrorLog::missing(function, what, name);
    return found;
}
