// Hanvert.dll as the program reaches it: loaded at run time, FanTiToJianTi by name.

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

using FanTiToJianTiProc = int(__stdcall*)(wchar_t*);

std::wstring ExecutableDirectory() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/") + 1);
}

bool InCodePage936(wchar_t unit) {
    char bytes[4];
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes,
                                            sizeof bytes, nullptr, &usedDefault);
    return written > 0 && !usedDefault;
}

class Hanvert : public testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryW((ExecutableDirectory() + L"Hanvert.dll").c_str());
        if (module_ != nullptr) {
            convert_ = reinterpret_cast<FanTiToJianTiProc>(
                reinterpret_cast<void*>(GetProcAddress(module_, "FanTiToJianTi")));
        }
    }

    static void TearDownTestSuite() {
        if (module_ != nullptr) FreeLibrary(module_);
        module_ = nullptr;
        convert_ = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(module_, nullptr) << "Hanvert.dll not loaded, error " << GetLastError();
        ASSERT_NE(convert_, nullptr) << "Hanvert.dll does not export FanTiToJianTi";
    }

    static std::wstring Converted(std::wstring text) {
        convert_(text.data());
        return text;
    }

    static inline HMODULE module_ = nullptr;
    static inline FanTiToJianTiProc convert_ = nullptr;
};

TEST_F(Hanvert, ConvertsTraditionalTextInPlace) {
    std::wstring text = L"這是中文語音合成的測試。";
    EXPECT_EQ(convert_(text.data()), 4);
    EXPECT_EQ(text, L"这是中文语音合成的测试。");
    EXPECT_EQ(Converted(L"乾杯，開會後見面"), L"干杯，开会后见面");
}

TEST_F(Hanvert, LeavesSimplifiedAndAsciiTextAlone) {
    for (const wchar_t* unchanged : {L"这是中文语音合成的测试。", L"Hello, world! 0123 ~\t\r\n",
                                     L"覆盖", L"ＡＢＣ，。！"}) {
        std::wstring text = unchanged;
        EXPECT_EQ(convert_(text.data()), 0) << text;
        EXPECT_EQ(text, unchanged);
    }
}

TEST_F(Hanvert, NeverTouchesTheTerminatorOrWhatFollows) {
    wchar_t text[] = {L'測', L'試', L'\0', L'語', L'\0'};
    EXPECT_EQ(convert_(text), 2);
    EXPECT_EQ(text[0], L'测');
    EXPECT_EQ(text[1], L'试');
    EXPECT_EQ(text[2], L'\0');
    EXPECT_EQ(text[3], L'語');
}

TEST_F(Hanvert, EmptyAndNullTextAreHarmless) {
    wchar_t empty[] = {L'\0', L'語', L'\0'};
    EXPECT_EQ(convert_(empty), 0);
    EXPECT_EQ(empty[1], L'語');
    EXPECT_EQ(convert_(nullptr), 0);
}

TEST_F(Hanvert, LeavesSupplementaryCharactersAndLoneSurrogatesAlone) {
    EXPECT_EQ(Converted(L"𠀋語𪚥"), L"𠀋语𪚥");
    EXPECT_EQ(Converted(L"\xD840語\xDC0B"), L"\xD840语\xDC0B");
    // Its simplified form lies outside the BMP and would not fit in place.
    EXPECT_EQ(Converted(L"䂎"), L"䂎");
}

TEST_F(Hanvert, KeepsLengthAndCodePage936AcrossTheWholeBmp) {
    // The converted text is encoded for the engine in code page 936 next: a character
    // that code page can carry must not become one it cannot.
    std::wstring original;
    for (wchar_t unit = 1; unit != 0; ++unit) {
        if (unit < 0xD800 || unit > 0xDFFF) original.push_back(unit);
    }
    std::wstring text = original;
    const int replaced = convert_(text.data());

    EXPECT_EQ(std::wcslen(text.c_str()), original.size());
    int changed = 0;
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (text[i] == original[i]) continue;
        ++changed;
        if (InCodePage936(original[i])) {
            EXPECT_TRUE(InCodePage936(text[i]))
                << std::hex << "U+" << int{original[i]} << " -> U+" << int{text[i]};
        }
    }
    EXPECT_EQ(replaced, changed);
    EXPECT_GT(changed, 2000);
}

}  // namespace
