// GtkFileChooserDialog behind the open and save dialogs.
#include "platform/backend/gtk/DesktopFileChooser.h"

#include <gtk/gtk.h>

#include <cctype>
#include <filesystem>

namespace {

constexpr const char* everyFile = "*.*";

// "*.txt" as "*.[tT][xX][tT]": GTK matches patterns case by case.
std::string caselessPattern(const std::string& pattern) {
    if (pattern == everyFile) return "*";
    std::string result;
    for (char each : pattern) {
        unsigned char letter = static_cast<unsigned char>(each);
        if (!std::isalpha(letter)) {
            result += each;
            continue;
        }
        result += '[';
        result += static_cast<char>(std::tolower(letter));
        result += static_cast<char>(std::toupper(letter));
        result += ']';
    }
    return result;
}

std::vector<GtkFileFilter*> addFilters(GtkFileChooser* chooser, const DesktopFileQuestion& question) {
    std::vector<GtkFileFilter*> filters;
    for (const DesktopFileFilter& described : question.filters) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, described.name.c_str());
        for (const std::string& pattern : described.patterns)
            gtk_file_filter_add_pattern(filter, caselessPattern(pattern).c_str());
        gtk_file_chooser_add_filter(chooser, filter);
        filters.push_back(filter);
    }
    if (question.filterIndex < filters.size())
        gtk_file_chooser_set_filter(chooser, filters[question.filterIndex]);
    return filters;
}

void chooseStart(GtkFileChooser* chooser, const DesktopFileQuestion& question) {
    std::filesystem::path name(question.fileName);
    bool withFolder = name.has_parent_path();
    std::string folder = withFolder ? name.parent_path().string() : question.folder;
    if (!folder.empty()) gtk_file_chooser_set_current_folder(chooser, folder.c_str());
    if (question.fileName.empty()) return;
    if (question.save)
        gtk_file_chooser_set_current_name(chooser, name.filename().c_str());
    else if (withFolder)
        gtk_file_chooser_set_filename(chooser, question.fileName.c_str());
}

std::vector<std::string> chosenFiles(GtkFileChooser* chooser) {
    std::vector<std::string> files;
    GSList* names = gtk_file_chooser_get_filenames(chooser);
    for (GSList* each = names; each; each = each->next) {
        files.emplace_back(static_cast<const char*>(each->data));
        g_free(each->data);
    }
    g_slist_free(names);
    return files;
}

std::size_t chosenFilter(GtkFileChooser* chooser, const std::vector<GtkFileFilter*>& filters) {
    GtkFileFilter* chosen = gtk_file_chooser_get_filter(chooser);
    for (std::size_t index = 0; index < filters.size(); ++index)
        if (filters[index] == chosen) return index;
    return 0;
}

std::string withDefaultExtension(const std::string& file, const std::string& extension) {
    if (extension.empty() || std::filesystem::path(file).has_extension()) return file;
    return file + "." + extension;
}

// The chooser asked already when the name was typed in full; a name that
// gained the default extension is asked about here.
bool mayReplace(GtkWidget* dialog, const std::string& typed, const std::string& file) {
    if (file == typed || !std::filesystem::exists(file)) return true;
    GtkWidget* question =
        gtk_message_dialog_new(GTK_WINDOW(dialog), GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO,
                               "A file named \"%s\" already exists. Do you want to replace it?",
                               std::filesystem::path(file).filename().c_str());
    bool replace = gtk_dialog_run(GTK_DIALOG(question)) == GTK_RESPONSE_YES;
    gtk_widget_destroy(question);
    return replace;
}

constexpr int previewSize = 160;

void historyChosen(GtkComboBoxText* list, gpointer chooser) {
    gchar* name = gtk_combo_box_text_get_active_text(list);
    if (!name) return;
    std::filesystem::path path(name);
    if (gtk_file_chooser_get_action(GTK_FILE_CHOOSER(chooser)) == GTK_FILE_CHOOSER_ACTION_SAVE &&
        !path.has_parent_path())
        gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), name);
    else
        gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(chooser), name);
    g_free(name);
}

void offerHistory(GtkFileChooser* chooser, const std::vector<std::string>& history) {
    if (history.empty()) return;
    GtkWidget* list = gtk_combo_box_text_new();
    for (const std::string& name : history)
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(list), name.c_str());
    g_signal_connect(list, "changed", G_CALLBACK(historyChosen), chooser);
    gtk_file_chooser_set_extra_widget(chooser, list);
}

void updatePreview(GtkFileChooser* chooser, gpointer image) {
    gchar* name = gtk_file_chooser_get_preview_filename(chooser);
    GdkPixbuf* picture =
        name ? gdk_pixbuf_new_from_file_at_size(name, previewSize, previewSize, nullptr) : nullptr;
    g_free(name);
    gtk_image_set_from_pixbuf(GTK_IMAGE(image), picture);
    gtk_file_chooser_set_preview_widget_active(chooser, picture != nullptr);
    if (picture) g_object_unref(picture);
}

void offerPreview(GtkFileChooser* chooser, bool picturePreview) {
    if (!picturePreview) return;
    GtkWidget* image = gtk_image_new();
    gtk_widget_set_size_request(image, previewSize, previewSize);
    gtk_file_chooser_set_preview_widget(chooser, image);
    g_signal_connect(chooser, "update-preview", G_CALLBACK(updatePreview), image);
}

GtkFileChooserAction actionOf(const DesktopFileQuestion& question) {
    if (question.chooseFolder) return GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER;
    return question.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
}

} // namespace

std::optional<DesktopFileAnswer> AskDesktopForFiles(const DesktopFileQuestion& question) {
    GtkWindow* owner = question.owner ? GTK_WINDOW(question.owner->Widget()) : nullptr;
    const char* title =
        question.title.empty() ? (question.save ? "Save As" : "Open") : question.title.c_str();
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(title, owner, actionOf(question), "_Cancel", GTK_RESPONSE_CANCEL,
                                    question.save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
    gtk_file_chooser_set_select_multiple(chooser, question.multiple && !question.save);
    std::vector<GtkFileFilter*> filters = addFilters(chooser, question);
    chooseStart(chooser, question);
    offerHistory(chooser, question.history);
    offerPreview(chooser, question.picturePreview);

    if (question.help) gtk_dialog_add_button(GTK_DIALOG(dialog), "_Help", GTK_RESPONSE_HELP);

    std::optional<DesktopFileAnswer> answer;
    for (;;) {
        const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
        if (response == GTK_RESPONSE_HELP) {
            question.help();
            continue;
        }
        if (response != GTK_RESPONSE_ACCEPT) break;
        DesktopFileAnswer chosen{chosenFiles(chooser), chosenFilter(chooser, filters)};
        if (chosen.files.empty()) continue;
        if (question.save) {
            std::string typed = chosen.files.front();
            chosen.files.front() = withDefaultExtension(typed, question.defaultExtension);
            if (!mayReplace(dialog, typed, chosen.files.front())) continue;
        }
        answer = std::move(chosen);
        break;
    }
    gtk_widget_destroy(dialog);
    return answer;
}
