// Test helper: records every application message box shown while it lives,
// instead of showing it, so a test can check texts and order.
#pragma once

#include <string>
#include <vector>

#include "framework/AppMessageBox.h"

class MessageBoxRecorder {
public:
    MessageBoxRecorder() : m_pfnPrevious(SetAppMessageBoxHook(&Record)) { Texts().clear(); }
    ~MessageBoxRecorder() { SetAppMessageBoxHook(m_pfnPrevious); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<std::string>& Messages() const { return Texts(); }
    // Style and help context of every call, in order.
    static std::vector<std::pair<UINT, UINT>>& Styles() {
        static std::vector<std::pair<UINT, UINT>> styles;
        return styles;
    }
    void Clear() {
        Texts().clear();
        Styles().clear();
    }

private:
    static std::vector<std::string>& Texts() {
        static std::vector<std::string> texts;
        return texts;
    }
    static int Record(const char* text, UINT nType, UINT nIDHelp) {
        Texts().emplace_back(text != nullptr ? text : "");
        Styles().emplace_back(nType, nIDHelp);
        return IDOK;
    }

    AppMessageBoxHook m_pfnPrevious;
};
