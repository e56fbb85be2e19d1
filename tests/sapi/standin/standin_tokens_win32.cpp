// Data keys, object tokens, token categories and their enumerations, over the registry keys
// whose full paths are their ids.
#include <algorithm>
#include <cwctype>
#include <new>
#include <string>
#include <vector>

#include "standin_win32.h"

namespace sapistandin {

namespace {

using ostrel::UniqueHkey;

constexpr HRESULT kNoMoreItems = static_cast<HRESULT>(0x80045039);  // SPERR_NO_MORE_ITEMS
constexpr HRESULT kAlreadyInitialised = static_cast<HRESULT>(0x80045002);

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// "HKEY_LOCAL_MACHINE\SOFTWARE\..." into its root and the path below it.
bool SplitId(const std::wstring& id, HKEY& root, std::wstring& path) {
  const std::size_t slash = id.find(L'\\');
  const std::wstring head = Upper(id.substr(0, slash));
  if (head == L"HKEY_LOCAL_MACHINE" || head == L"HKLM") {
    root = HKEY_LOCAL_MACHINE;
  } else if (head == L"HKEY_CURRENT_USER" || head == L"HKCU") {
    root = HKEY_CURRENT_USER;
  } else {
    return false;
  }
  path = slash == std::wstring::npos ? std::wstring() : id.substr(slash + 1);
  return true;
}

HRESULT OpenKeyOf(HKEY parent, const std::wstring& path, bool create, UniqueHkey& key) {
  HKEY opened = nullptr;
  LSTATUS status = create ? RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                            &opened, nullptr)
                          : RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &opened);
  if (status == ERROR_ACCESS_DENIED && !create) status = RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &opened);
  if (status == ERROR_FILE_NOT_FOUND) return sapiids::kSpErrNotFound;
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  key.reset(opened);
  return S_OK;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> parts;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(separator, from);
    parts.push_back(text.substr(from, at - from));
    if (at == std::wstring::npos) return parts;
    from = at + 1;
  }
}

std::wstring Trimmed(const std::wstring& text) {
  const std::size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// ISpDataKey over one registry key, for tokens, categories and the keys below them.
template <typename I>
class DataKey : public ComObject<I> {
 public:
  HRESULT STDMETHODCALLTYPE SetData(LPCWSTR name, ULONG size, const BYTE* data) override {
    if (!key_) return sapiids::kSpErrUninitialized;
    return HRESULT_FROM_WIN32(RegSetValueExW(key_.get(), name, 0, REG_BINARY, data, size));
  }
  HRESULT STDMETHODCALLTYPE GetData(LPCWSTR name, ULONG* size, BYTE* data) override {
    if (!key_) return sapiids::kSpErrUninitialized;
    if (size == nullptr) return E_POINTER;
    DWORD bytes = *size;
    const LSTATUS status = RegQueryValueExW(key_.get(), name, nullptr, nullptr, data, &bytes);
    *size = bytes;
    return status == ERROR_FILE_NOT_FOUND ? sapiids::kSpErrNotFound : HRESULT_FROM_WIN32(status);
  }
  HRESULT STDMETHODCALLTYPE SetStringValue(LPCWSTR name, LPCWSTR value) override {
    if (!key_) return sapiids::kSpErrUninitialized;
    if (value == nullptr) return E_POINTER;
    return HRESULT_FROM_WIN32(RegSetValueExW(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                             static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t))));
  }
  HRESULT STDMETHODCALLTYPE GetStringValue(LPCWSTR name, LPWSTR* value) override {
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
    if (!key_) return sapiids::kSpErrUninitialized;
    DWORD type = 0, bytes = 0;
    LSTATUS status = RegQueryValueExW(key_.get(), name, nullptr, &type, nullptr, &bytes);
    if (status == ERROR_FILE_NOT_FOUND) return sapiids::kSpErrNotFound;
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    if (type != REG_SZ && type != REG_EXPAND_SZ) return sapiids::kSpErrNotFound;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    status = RegQueryValueExW(key_.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &bytes);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    text.resize(wcsnlen(text.c_str(), text.size()));
    return CoTaskCopy(text, value);
  }
  HRESULT STDMETHODCALLTYPE SetDWORD(LPCWSTR name, DWORD value) override {
    if (!key_) return sapiids::kSpErrUninitialized;
    return HRESULT_FROM_WIN32(
        RegSetValueExW(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)));
  }
  HRESULT STDMETHODCALLTYPE GetDWORD(LPCWSTR name, DWORD* value) override {
    if (value == nullptr) return E_POINTER;
    if (!key_) return sapiids::kSpErrUninitialized;
    DWORD type = 0, bytes = sizeof(*value);
    const LSTATUS status = RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
    if (status == ERROR_FILE_NOT_FOUND || (status == ERROR_SUCCESS && type != REG_DWORD)) return sapiids::kSpErrNotFound;
    return HRESULT_FROM_WIN32(status);
  }
  HRESULT STDMETHODCALLTYPE OpenKey(LPCWSTR name, ISpDataKey** out) override { return SubKey(name, false, out); }
  HRESULT STDMETHODCALLTYPE CreateKey(LPCWSTR name, ISpDataKey** out) override { return SubKey(name, true, out); }
  HRESULT STDMETHODCALLTYPE DeleteKey(LPCWSTR name) override {
    if (!key_) return sapiids::kSpErrUninitialized;
    const LSTATUS status = RegDeleteTreeW(key_.get(), name);
    if (status == ERROR_SUCCESS) RegDeleteKeyW(key_.get(), name);
    return status == ERROR_FILE_NOT_FOUND ? sapiids::kSpErrNotFound : HRESULT_FROM_WIN32(status);
  }
  HRESULT STDMETHODCALLTYPE DeleteValue(LPCWSTR name) override {
    if (!key_) return sapiids::kSpErrUninitialized;
    const LSTATUS status = RegDeleteValueW(key_.get(), name);
    return status == ERROR_FILE_NOT_FOUND ? sapiids::kSpErrNotFound : HRESULT_FROM_WIN32(status);
  }
  HRESULT STDMETHODCALLTYPE EnumKeys(ULONG index, LPWSTR* name) override { return Enumerate(index, name, true); }
  HRESULT STDMETHODCALLTYPE EnumValues(ULONG index, LPWSTR* name) override { return Enumerate(index, name, false); }

 protected:
  HRESULT SubKey(LPCWSTR name, bool create, ISpDataKey** out);

  HRESULT Enumerate(ULONG index, LPWSTR* name, bool keys) {
    if (name == nullptr) return E_POINTER;
    if (!key_) return sapiids::kSpErrUninitialized;
    std::wstring buffer(16384, L'\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    const LSTATUS status = keys ? RegEnumKeyExW(key_.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
                                : RegEnumValueW(key_.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return kNoMoreItems;
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    return CoTaskCopy(buffer.substr(0, length), name);
  }
  UniqueHkey key_;
};

class PlainKey final : public DataKey<ISpDataKey> {
 public:
  explicit PlainKey(UniqueHkey key) { key_ = std::move(key); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, static_cast<ISpDataKey*>(this), {&IID_IUnknown, &IID_ISpDataKey});
  }
};

template <typename I>
HRESULT DataKey<I>::SubKey(LPCWSTR name, bool create, ISpDataKey** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!key_) return sapiids::kSpErrUninitialized;
  if (name == nullptr) return E_INVALIDARG;
  UniqueHkey sub;
  const HRESULT result = OpenKeyOf(key_.get(), name, create, sub);
  if (FAILED(result)) return result;
  *out = new (std::nothrow) PlainKey(std::move(sub));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// "Name=Value;Name!=Value;Name": every condition holds. A stored value that lists several
// (Language "409;9") matches when any of them does.
bool Matches(ISpDataKey* attributes, const std::wstring& conditions) {
  for (const std::wstring& raw : Split(conditions, L';')) {
    const std::wstring condition = Trimmed(raw);
    if (condition.empty()) continue;
    const std::size_t equals = condition.find(L'=');
    const bool negated = equals != std::wstring::npos && equals > 0 && condition[equals - 1] == L'!';
    const std::wstring name =
        Trimmed(condition.substr(0, equals == std::wstring::npos ? equals : equals - (negated ? 1 : 0)));
    LPWSTR stored = nullptr;
    const bool present = attributes != nullptr && SUCCEEDED(attributes->GetStringValue(name.c_str(), &stored));
    const ostrel::CoTaskString storedOwner(stored);
    if (equals == std::wstring::npos) {
      if (!present) return false;
      continue;
    }
    const std::wstring wanted = Upper(Trimmed(condition.substr(equals + 1)));
    bool equal = false;
    if (present) {
      for (const std::wstring& value : Split(stored, L';')) equal = equal || Upper(Trimmed(value)) == wanted;
    }
    if (equal == negated) return false;
  }
  return true;
}

class Token final : public DataKey<ISpObjectToken> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, static_cast<ISpObjectToken*>(this), {&IID_IUnknown, &IID_ISpDataKey, &IID_ISpObjectToken});
  }

  HRESULT STDMETHODCALLTYPE SetId(LPCWSTR categoryId, LPCWSTR tokenId, BOOL create) override {
    if (tokenId == nullptr) return E_POINTER;
    if (key_) return kAlreadyInitialised;
    std::wstring id = tokenId;
    HKEY root = nullptr;
    std::wstring path;
    if (!SplitId(id, root, path) && categoryId != nullptr) id = std::wstring(categoryId) + L"\\Tokens\\" + id;
    if (!SplitId(id, root, path)) return sapiids::kSpErrNotFound;
    const HRESULT result = OpenKeyOf(root, path, create != FALSE, key_);
    if (SUCCEEDED(result)) id_ = id;
    return result;
  }
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) override {
    if (id == nullptr) return E_POINTER;
    *id = nullptr;
    return key_ ? CoTaskCopy(id_, id) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE GetCategory(ISpObjectTokenCategory**) override { return E_NOTIMPL; }

  // The object the token describes, made from its CLSID value and then told its token, as a voice
  // needs it to find its data.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, DWORD context, REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!key_) return sapiids::kSpErrUninitialized;
    LPWSTR text = nullptr;
    HRESULT result = GetStringValue(L"CLSID", &text);
    const ostrel::CoTaskString textOwner(text);
    if (FAILED(result)) return result;
    CLSID clsid{};
    result = CLSIDFromString(text, &clsid);
    if (FAILED(result)) return result;
    ComPtr<IUnknown> object;
    result = CoCreateInstance(clsid, outer, context, IID_IUnknown, reinterpret_cast<void**>(object.put()));
    if (FAILED(result)) return result;
    ComPtr<ISpObjectWithToken> withToken;
    if (SUCCEEDED(object->QueryInterface(IID_ISpObjectWithToken, reinterpret_cast<void**>(withToken.put())))) {
      result = withToken->SetObjectToken(this);
      if (FAILED(result)) return result;
    }
    return object->QueryInterface(riid, out);
  }

  HRESULT STDMETHODCALLTYPE GetStorageFileName(REFCLSID, LPCWSTR, LPCWSTR, ULONG, LPWSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE RemoveStorageFileName(REFCLSID, LPCWSTR, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Remove(const CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsUISupported(LPCWSTR, void*, ULONG, IUnknown*, BOOL* supported) override {
    if (supported != nullptr) *supported = FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DisplayUI(HWND, LPCWSTR, LPCWSTR, void*, ULONG, IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE MatchesAttributes(LPCWSTR attributes, BOOL* matches) override {
    if (matches == nullptr) return E_POINTER;
    if (!key_) return sapiids::kSpErrUninitialized;
    ComPtr<ISpDataKey> found;
    OpenKey(L"Attributes", found.put());
    *matches = Matches(found.get(), attributes != nullptr ? attributes : L"") ? TRUE : FALSE;
    return S_OK;
  }

 private:
  std::wstring id_;
};

class TokenEnum final : public ComObject<IEnumSpObjectTokens> {
 public:
  explicit TokenEnum(std::vector<ISpObjectToken*> tokens) : tokens_(std::move(tokens)) {}
  ~TokenEnum() override {
    for (ISpObjectToken* token : tokens_) token->Release();
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, static_cast<IEnumSpObjectTokens*>(this), {&IID_IUnknown, &IID_IEnumSpObjectTokens});
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, ISpObjectToken** out, ULONG* fetched) override {
    if (out == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG given = 0;
    for (; given < count && next_ < tokens_.size(); ++given, ++next_) {
      out[given] = tokens_[next_];
      out[given]->AddRef();
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const std::size_t left = tokens_.size() - next_;
    next_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumSpObjectTokens** out) override {
    if (out == nullptr) return E_POINTER;
    for (ISpObjectToken* token : tokens_) token->AddRef();
    auto* copy = new (std::nothrow) TokenEnum(tokens_);
    if (copy == nullptr) {
      for (ISpObjectToken* token : tokens_) token->Release();
      return E_OUTOFMEMORY;
    }
    copy->next_ = next_;
    *out = copy;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Item(ULONG index, ISpObjectToken** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (index >= tokens_.size()) return kNoMoreItems;
    *out = tokens_[index];
    (*out)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCount(ULONG* count) override {
    if (count == nullptr) return E_POINTER;
    *count = static_cast<ULONG>(tokens_.size());
    return S_OK;
  }

 private:
  std::vector<ISpObjectToken*> tokens_;
  std::size_t next_ = 0;
};

class Category final : public DataKey<ISpObjectTokenCategory> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, static_cast<ISpObjectTokenCategory*>(this),
                  {&IID_IUnknown, &IID_ISpDataKey, &IID_ISpObjectTokenCategory});
  }
  HRESULT STDMETHODCALLTYPE SetId(LPCWSTR id, BOOL create) override {
    if (id == nullptr) return E_POINTER;
    if (key_) return kAlreadyInitialised;
    HKEY root = nullptr;
    std::wstring path;
    if (!SplitId(id, root, path)) return sapiids::kSpErrNotFound;
    const HRESULT result = OpenKeyOf(root, path, create != FALSE, key_);
    if (SUCCEEDED(result)) id_ = id;
    return result;
  }
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) override {
    if (id == nullptr) return E_POINTER;
    *id = nullptr;
    return key_ ? CoTaskCopy(id_, id) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE GetDataKey(SPDATAKEYLOCATION, ISpDataKey**) override { return E_NOTIMPL; }

  // The tokens under the category's Tokens key that have every required attribute, those with
  // the optional ones first.
  HRESULT STDMETHODCALLTYPE EnumTokens(LPCWSTR required, LPCWSTR optional, IEnumSpObjectTokens** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!key_) return sapiids::kSpErrUninitialized;
    std::vector<ISpObjectToken*> preferred, others;
    UniqueHkey tokens;
    if (SUCCEEDED(OpenKeyOf(key_.get(), L"Tokens", false, tokens))) {
      for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(tokens.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        ISpObjectToken* token = nullptr;
        if (FAILED(OpenToken(id_ + L"\\Tokens\\" + std::wstring(name, length), &token))) continue;
        BOOL wanted = TRUE, liked = FALSE;
        if (required != nullptr) token->MatchesAttributes(required, &wanted);
        if (optional != nullptr && *optional != L'\0') token->MatchesAttributes(optional, &liked);
        if (!wanted) {
          token->Release();
        } else {
          (liked ? preferred : others).push_back(token);
        }
      }
    }
    preferred.insert(preferred.end(), others.begin(), others.end());
    *out = new (std::nothrow) TokenEnum(std::move(preferred));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE SetDefaultTokenId(LPCWSTR) override { return E_NOTIMPL; }

  // The user's choice (DefaultTokenId under the same path in HKCU), else the machine's
  // (DefaultDefaultTokenId), else the first token.
  HRESULT STDMETHODCALLTYPE GetDefaultTokenId(LPWSTR* id) override {
    if (id == nullptr) return E_POINTER;
    *id = nullptr;
    if (!key_) return sapiids::kSpErrUninitialized;
    HKEY root = nullptr;
    std::wstring path;
    UniqueHkey user;
    if (SplitId(id_, root, path) && SUCCEEDED(OpenKeyOf(HKEY_CURRENT_USER, path, false, user))) {
      ComPtr<ISpDataKey> userKey;
      userKey.reset(new (std::nothrow) PlainKey(std::move(user)));
      if (userKey && SUCCEEDED(userKey->GetStringValue(L"DefaultTokenId", id))) return S_OK;
    }
    if (SUCCEEDED(GetStringValue(L"DefaultDefaultTokenId", id))) return S_OK;
    ComPtr<IEnumSpObjectTokens> all;
    ComPtr<ISpObjectToken> first;
    HRESULT result = EnumTokens(nullptr, nullptr, all.put());
    if (SUCCEEDED(result)) result = all->Item(0, first.put());
    return SUCCEEDED(result) ? first->GetId(id) : sapiids::kSpErrNotFound;
  }

 private:
  std::wstring id_;
};

}  // namespace

HRESULT CoTaskCopy(const std::wstring& text, LPWSTR* out) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (*out == nullptr) return E_OUTOFMEMORY;
  std::copy(text.c_str(), text.c_str() + text.size() + 1, *out);
  return S_OK;
}

HRESULT CreateTokenCategory(REFIID riid, void** out) { return CreateAs<Category>(riid, out); }
HRESULT CreateToken(REFIID riid, void** out) { return CreateAs<Token>(riid, out); }

HRESULT OpenToken(const std::wstring& id, ISpObjectToken** out) {
  ComPtr<ISpObjectToken> token;
  HRESULT result = CreateToken(IID_ISpObjectToken, reinterpret_cast<void**>(token.put()));
  if (SUCCEEDED(result)) result = token->SetId(nullptr, id.c_str(), FALSE);
  if (SUCCEEDED(result)) *out = token.release();
  return result;
}

WORD TokenLanguage(ISpObjectToken* token) {
  ComPtr<ISpDataKey> attributes;
  LPWSTR text = nullptr;
  if (token == nullptr || FAILED(token->OpenKey(L"Attributes", attributes.put())) ||
      FAILED(attributes->GetStringValue(L"Language", &text))) {
    return 0;
  }
  const ostrel::CoTaskString owner(text);
  return static_cast<WORD>(wcstoul(text, nullptr, 16));
}

}  // namespace sapistandin
