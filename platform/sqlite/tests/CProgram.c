/* A plain C user of the interface, compiled as C: reads the script table both ways,
   as the program does, and releases every text with free(). */
#include "platform/sqlite/sqlite.h"

#include <stdlib.h>
#include <string.h>

int cProgramCountRows(const char* path);

static int countRow(void* argument, int argc, char** argv, char** columnNames) {
    (void)argv;
    if (argc > 0 && columnNames[0] != NULL) ++*(int*)argument;
    return 0;
}

/* The number of rows both calls agree on, or -1 when anything fails. */
int cProgramCountRows(const char* path) {
    char* error = NULL;
    char** result = NULL;
    int rows = 0, columns = 0, calls = 0;
    sqlite* db = sqlite_open(path, 0660, &error);
    if (db == NULL) {
        free(error);
        return -1;
    }
    if (sqlite_get_table(db, "SELECT * FROM MarrowindScript;", &result, &rows, &columns, &error) !=
            SQLITE_OK ||
        sqlite_exec(db, "SELECT * FROM MarrowindScript;", countRow, &calls, &error) != SQLITE_OK) {
        free(error);
        sqlite_free_table(result);
        sqlite_close(db);
        return -1;
    }
    if (columns == 0 || strcmp(result[0], "Id") != 0) calls = -1;
    sqlite_free_table(result);
    sqlite_close(db);
    return calls == rows ? rows : -1;
}
