// The framework's file controls: a list box of the files in a folder that
// match one or more masks, a list box of folders, a combo box of the drives
// (one here: the root of the file system) and a combo box of file filters
// that gives its mask to a file list. Setting a folder makes it the current
// directory, as the framework does, so that relative names follow the list.
#pragma once

#include "platform/vcl/StdCtrls.h"

#include <vector>

// A file operation of the run-time library failed; ErrorCode is the system's error number.
class EInOutError : public Exception {
public:
    EInOutError(AnsiString Message, Integer Code) : Exception(std::move(Message)), ErrorCode(Code) {}
    Integer ErrorCode;
};

enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = TSet<TFileAttr>;

class TFileListBox;
class TDirectoryListBox;

// The files of Directory whose names match Mask ("*.txt" or several masks
// separated by ";", without regard to case), sorted. OnChange tells that the
// user chose another file; FileEdit shows the chosen name (or the mask).
class TFileListBox : public TCustomListBox {
public:
    explicit TFileListBox(TComponent* AOwner);

    const AnsiString& Directory() const { return directory_; }
    // Relative to the previous folder; EInOutError when the folder cannot be entered.
    void SetDirectory(const AnsiString& Value);
    const AnsiString& Mask() const { return mask_; }
    void SetMask(const AnsiString& Value);
    TFileType FileType() const { return fileType_; }
    void SetFileType(TFileType Value);
    // The chosen file with its folder; empty when none is chosen. Setting a
    // name with a folder moves to that folder first.
    AnsiString FileName();
    void SetFileName(const AnsiString& Value);
    TCustomEdit* FileEdit() const { return fileEdit_; }
    void SetFileEdit(TCustomEdit* Value);

    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void Click() override;
    virtual void Change();
    virtual void ReadFileNames();

private:
    void showInFileEdit();

    AnsiString directory_;
    AnsiString mask_ = "*.*";
    TFileType fileType_{ftNormal};
    TCustomEdit* fileEdit_ = nullptr;
    Integer lastSelection_ = -1;
};

// The folders from the root down to Directory, then Directory's own
// folders; a double click enters one. FileList follows the folder.
class TDirectoryListBox : public TCustomListBox {
public:
    explicit TDirectoryListBox(TComponent* AOwner);

    const AnsiString& Directory() const { return directory_; }
    // Relative to the previous folder; EInOutError when it cannot be entered.
    void SetDirectory(const AnsiString& Value);
    TFileListBox* FileList() const { return fileList_; }
    void SetFileList(TFileListBox* Value);
    // The folder of a list entry.
    AnsiString GetItemPath(Integer Index) const;

    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void DblClick() override;
    virtual void Change();
    virtual void ReadDirectoryNames();

private:
    AnsiString directory_;
    TFileListBox* fileList_ = nullptr;
    std::vector<AnsiString> paths_;
};

// The drives to choose from: one, the root of the file system.
class TDriveComboBox : public TCustomComboBox {
public:
    explicit TDriveComboBox(TComponent* AOwner);
    char Drive() const { return drive_; }
    // The only drive there is; other letters are refused.
    void SetDrive(char Value);
    TDirectoryListBox* DirList() const { return dirList_; }
    void SetDirList(TDirectoryListBox* Value);
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void CreateWnd() override;

private:
    char drive_;
    TDirectoryListBox* dirList_ = nullptr;
};

// File filters as "description|masks|description|masks"; choosing one gives
// its masks to FileList and fires OnChange.
class TFilterComboBox : public TCustomComboBox {
public:
    explicit TFilterComboBox(TComponent* AOwner);
    const AnsiString& Filter() const { return filter_; }
    void SetFilter(const AnsiString& Value);
    // The masks of the chosen filter.
    const AnsiString& Mask() const { return mask_; }
    TFileListBox* FileList() const { return fileList_; }
    void SetFileList(TFileListBox* Value);
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void CreateWnd() override;
    void Click() override;

private:
    void buildList();

    AnsiString filter_;
    AnsiString mask_;
    std::vector<AnsiString> masks_;
    TFileListBox* fileList_ = nullptr;
};
