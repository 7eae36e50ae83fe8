// The file controls read folders with FindFirst and keep the current
// directory in step with the folder they show.
#include "platform/vcl/FileCtrl.h"

#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"

#include <algorithm>

namespace {

constexpr const char* SInOutError = "I/O error %d";
constexpr Integer PathNotFound = 3;
constexpr const char* SDefaultFilter = "All files (*.*)|*.*";
constexpr const char* RootFolder = "/";
constexpr char RootDrive = '/';
constexpr Integer FolderIndent = 2;

// The pieces of Text between Separator, trimmed, without empty ones.
std::vector<AnsiString> splitList(const AnsiString& Text, char Separator) {
    std::vector<AnsiString> pieces;
    std::size_t start = 0;
    while (start <= Text.size()) {
        std::size_t end = Text.find(Separator, start);
        if (end == AnsiString::npos) end = Text.size();
        AnsiString piece = Trim(Text.substr(start, end - start));
        if (!piece.empty()) pieces.push_back(piece);
        start = end + 1;
    }
    return pieces;
}

// Enters Folder, taken relative to Base; the current directory after it.
AnsiString enterFolder(const AnsiString& Base, const AnsiString& Folder) {
    if (!Base.empty()) SetCurrentDir(Base);
    if (!SetCurrentDir(Folder)) throw EInOutError(Format(SInOutError, {PathNotFound}), PathNotFound);
    return GetCurrentDir();
}

Integer searchAttributes(TFileType Type) {
    Integer attributes = faReadOnly | faArchive;
    if (Type.Contains(ftHidden)) attributes |= faHidden;
    if (Type.Contains(ftSystem)) attributes |= faSysFile;
    if (Type.Contains(ftDirectory)) attributes |= faDirectory;
    return attributes;
}

bool isDotFolder(const AnsiString& Name) {
    return Name == "." || Name == "..";
}

// The names FindFirst gives for Pattern, passed to Take one by one.
template <typename TakeFunction>
void findEach(const AnsiString& Pattern, Integer Attributes, TakeFunction Take) {
    TSearchRec found;
    if (FindFirst(Pattern, Attributes, found) != 0) return;
    do
        Take(found);
    while (FindNext(found) == 0);
    FindClose(found);
}

} // namespace

// ---- TFileListBox ------------------------------------------------------------------------

TFileListBox::TFileListBox(TComponent* AOwner) : TCustomListBox(AOwner), directory_(GetCurrentDir()) {
    SetSorted(true);
}

void TFileListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    ReadFileNames();
}

void TFileListBox::SetDirectory(const AnsiString& Value) {
    if (Value.empty() || Value == directory_) return;
    directory_ = enterFolder(directory_, Value);
    if (HandleAllocated()) ReadFileNames();
}

void TFileListBox::SetMask(const AnsiString& Value) {
    if (mask_ == Value) return;
    mask_ = Value;
    if (HandleAllocated()) ReadFileNames();
}

void TFileListBox::SetFileType(TFileType Value) {
    if (fileType_ == Value) return;
    fileType_ = Value;
    if (HandleAllocated()) ReadFileNames();
}

// Folders (with ftDirectory) are listed in brackets, each file once however many masks it matches.
void TFileListBox::ReadFileNames() {
    Items()->BeginUpdate();
    try {
        Items()->Clear();
        AnsiString folder = IncludeTrailingPathDelimiter(directory_);
        for (const AnsiString& mask : splitList(mask_, ';')) {
            findEach(folder + mask, searchAttributes(fileType_), [this](const TSearchRec& found) {
                bool isFolder = found.Attr & faDirectory;
                if (isFolder && (isDotFolder(found.Name) || !fileType_.Contains(ftDirectory))) return;
                if (!isFolder && !fileType_.Contains(ftNormal) &&
                    !(found.Attr & (faReadOnly | faHidden | faSysFile)))
                    return;
                AnsiString entry = isFolder ? "[" + found.Name + "]" : found.Name;
                if (Items()->IndexOf(entry) < 0) Items()->Add(entry);
            });
        }
    } catch (...) {
        Items()->EndUpdate();
        throw;
    }
    Items()->EndUpdate();
    lastSelection_ = -1;
    showInFileEdit();
}

AnsiString TFileListBox::FileName() {
    Integer index = HandleAllocated() ? ItemIndex() : -1;
    if (index < 0 || index >= Items()->Count()) return {};
    return IncludeTrailingPathDelimiter(directory_) + Items()->Strings(index);
}

void TFileListBox::SetFileName(const AnsiString& Value) {
    AnsiString folder = ExtractFilePath(Value);
    if (!folder.empty()) SetDirectory(ExcludeTrailingPathDelimiter(folder));
    SetItemIndex(Items()->IndexOf(ExtractFileName(Value)));
    Change();
}

void TFileListBox::SetFileEdit(TCustomEdit* Value) {
    fileEdit_ = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    showInFileEdit();
}

void TFileListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fileEdit_) fileEdit_ = nullptr;
}

void TFileListBox::showInFileEdit() {
    if (!fileEdit_) return;
    AnsiString name = FileName();
    fileEdit_->SetText(name.empty() ? mask_ : ExtractFileName(name));
}

void TFileListBox::Click() {
    TCustomListBox::Click();
    if (ItemIndex() != lastSelection_) Change();
}

void TFileListBox::Change() {
    lastSelection_ = HandleAllocated() ? ItemIndex() : -1;
    showInFileEdit();
    if (OnChange) OnChange(this);
}

// ---- TDirectoryListBox ------------------------------------------------------------------------

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner)
    : TCustomListBox(AOwner), directory_(GetCurrentDir()) {}

void TDirectoryListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    ReadDirectoryNames();
}

void TDirectoryListBox::SetDirectory(const AnsiString& Value) {
    if (Value.empty() || Value == directory_) return;
    directory_ = enterFolder(directory_, Value);
    if (HandleAllocated()) ReadDirectoryNames();
    if (fileList_) fileList_->SetDirectory(directory_);
    Change();
}

AnsiString TDirectoryListBox::GetItemPath(Integer Index) const {
    return paths_.at(static_cast<std::size_t>(Index));
}

// Each folder of the path is indented one step deeper than its parent.
void TDirectoryListBox::ReadDirectoryNames() {
    paths_.clear();
    std::vector<AnsiString> names{RootFolder};
    AnsiString path;
    for (const AnsiString& part : splitList(directory_, PathDelim)) {
        path += PathDelim + part;
        names.push_back(part);
        paths_.push_back(path);
    }
    paths_.insert(paths_.begin(), RootFolder);
    std::size_t depth = names.size();
    std::vector<AnsiString> children;
    findEach(IncludeTrailingPathDelimiter(directory_) + "*", faDirectory,
             [&children](const TSearchRec& found) {
                 if ((found.Attr & faDirectory) && !isDotFolder(found.Name)) children.push_back(found.Name);
             });
    Items()->BeginUpdate();
    Items()->Clear();
    for (std::size_t level = 0; level < names.size(); ++level)
        Items()->Add(AnsiString(level * FolderIndent, ' ') + names[level]);
    for (const AnsiString& name : children) {
        Items()->Add(AnsiString(depth * FolderIndent, ' ') + name);
        paths_.push_back(IncludeTrailingPathDelimiter(directory_) + name);
    }
    Items()->EndUpdate();
    SetItemIndex(static_cast<Integer>(depth) - 1);
}

void TDirectoryListBox::DblClick() {
    TCustomListBox::DblClick();
    Integer index = ItemIndex();
    if (index >= 0 && index < static_cast<Integer>(paths_.size()))
        SetDirectory(paths_[static_cast<std::size_t>(index)]);
}

void TDirectoryListBox::SetFileList(TFileListBox* Value) {
    fileList_ = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    Value->SetDirectory(directory_);
}

void TDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fileList_) fileList_ = nullptr;
}

void TDirectoryListBox::Change() {
    if (OnChange) OnChange(this);
}

// ---- TDriveComboBox ------------------------------------------------------------------------

TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TCustomComboBox(AOwner), drive_(RootDrive) {
    SetStyle(csDropDownList);
}

void TDriveComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    Items()->Clear();
    Items()->Add(RootFolder);
    SetItemIndex(0);
}

void TDriveComboBox::SetDrive(char Value) {
    if (Value != RootDrive) throw EInOutError(Format(SInOutError, {PathNotFound}), PathNotFound);
}

void TDriveComboBox::SetDirList(TDirectoryListBox* Value) {
    dirList_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TDriveComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == dirList_) dirList_ = nullptr;
}

// ---- TFilterComboBox ------------------------------------------------------------------------

TFilterComboBox::TFilterComboBox(TComponent* AOwner) : TCustomComboBox(AOwner), filter_(SDefaultFilter) {
    SetStyle(csDropDownList);
    masks_ = {"*.*"};
    mask_ = masks_.front();
}

void TFilterComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    buildList();
}

// The filter's descriptions become the items; the first one is chosen.
void TFilterComboBox::buildList() {
    std::vector<AnsiString> parts = splitList(filter_, '|');
    masks_.clear();
    Items()->BeginUpdate();
    Items()->Clear();
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        Items()->Add(parts[i]);
        masks_.push_back(parts[i + 1]);
    }
    Items()->EndUpdate();
    if (masks_.empty()) return;
    SetItemIndex(0);
    mask_ = masks_.front();
    if (fileList_) fileList_->SetMask(mask_);
}

void TFilterComboBox::SetFilter(const AnsiString& Value) {
    filter_ = Value;
    if (HandleAllocated()) buildList();
}

void TFilterComboBox::Click() {
    Integer index = ItemIndex();
    if (index >= 0 && index < static_cast<Integer>(masks_.size())) {
        mask_ = masks_[static_cast<std::size_t>(index)];
        if (fileList_) fileList_->SetMask(mask_);
    }
    TCustomComboBox::Click();
}

void TFilterComboBox::SetFileList(TFileListBox* Value) {
    fileList_ = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    Value->SetMask(mask_);
}

void TFilterComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == fileList_) fileList_ = nullptr;
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const fileAttrType =
    DefineEnum<TFileAttr>("TFileAttr", {"ftReadOnly", "ftHidden", "ftSystem", "ftVolumeID", "ftDirectory",
                                        "ftArchive", "ftNormal"});

const TClass fileListBoxClass =
    DescribeClass<TFileListBox, TCustomListBox>([](TClassBuilder<TFileListBox>& c) {
        c.Property("FileEdit", &TFileListBox::FileEdit, &TFileListBox::SetFileEdit);
        c.Property("FileType", &TFileListBox::FileType, &TFileListBox::SetFileType)
            .Default(TFileType{ftNormal});
        c.Property("Mask", &TFileListBox::Mask, &TFileListBox::SetMask);
        c.Property("Sorted", &TFileListBox::Sorted, &TFileListBox::SetSorted).Default(true);
        c.Property("OnChange", &TFileListBox::OnChange, &TFileListBox::OnChange);
    });

const TClass directoryListBoxClass =
    DescribeClass<TDirectoryListBox, TCustomListBox>([](TClassBuilder<TDirectoryListBox>& c) {
        c.Property("FileList", &TDirectoryListBox::FileList, &TDirectoryListBox::SetFileList);
        c.Property("OnChange", &TDirectoryListBox::OnChange, &TDirectoryListBox::OnChange);
    });

const TClass driveComboBoxClass =
    DescribeClass<TDriveComboBox, TCustomComboBox>([](TClassBuilder<TDriveComboBox>& c) {
        c.Property("DirList", &TDriveComboBox::DirList, &TDriveComboBox::SetDirList);
        c.Property("Style", &TDriveComboBox::Style, &TDriveComboBox::SetStyle).Default(csDropDownList);
    });

const TClass filterComboBoxClass =
    DescribeClass<TFilterComboBox, TCustomComboBox>([](TClassBuilder<TFilterComboBox>& c) {
        c.Property("FileList", &TFilterComboBox::FileList, &TFilterComboBox::SetFileList);
        c.Property("Filter", &TFilterComboBox::Filter, &TFilterComboBox::SetFilter);
        c.Property("Style", &TFilterComboBox::Style, &TFilterComboBox::SetStyle).Default(csDropDownList);
    });

struct RegisterFileControls {
    RegisterFileControls() {
        RegisterClasses({ClassOf<TFileListBox>(), ClassOf<TDirectoryListBox>(), ClassOf<TDriveComboBox>(),
                         ClassOf<TFilterComboBox>()});
    }
} registerFileControls;

} // namespace
