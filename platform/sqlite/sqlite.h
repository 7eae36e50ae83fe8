/* The C interface of the version 2 database engine that the script browser calls.
   Our implementation only reads: files are never written, locked or created. Usable
   from C and C++. */
#ifndef QUORVANE_PLATFORM_SQLITE_SQLITE_H
#define QUORVANE_PLATFORM_SQLITE_SQLITE_H

#ifdef __cplusplus
extern "C" {
#endif

#define SQLITE_VERSION "2.8.17"
#define SQLITE_ISO8859 1

#define SQLITE_OK 0
#define SQLITE_ERROR 1
#define SQLITE_INTERNAL 2
#define SQLITE_PERM 3
#define SQLITE_ABORT 4
#define SQLITE_BUSY 5
#define SQLITE_LOCKED 6
#define SQLITE_NOMEM 7
#define SQLITE_READONLY 8
#define SQLITE_INTERRUPT 9
#define SQLITE_IOERR 10
#define SQLITE_CORRUPT 11
#define SQLITE_NOTFOUND 12
#define SQLITE_FULL 13
#define SQLITE_CANTOPEN 14
#define SQLITE_PROTOCOL 15
#define SQLITE_EMPTY 16
#define SQLITE_SCHEMA 17
#define SQLITE_TOOBIG 18
#define SQLITE_CONSTRAINT 19
#define SQLITE_MISMATCH 20
#define SQLITE_MISUSE 21
#define SQLITE_NOLFS 22
#define SQLITE_AUTH 23
#define SQLITE_FORMAT 24
#define SQLITE_RANGE 25
#define SQLITE_NOTADB 26
#define SQLITE_ROW 100
#define SQLITE_DONE 101

/* An open database connection. */
typedef struct sqlite sqlite;

/* Called once per result row: argv holds argc values (NULL for SQL NULL) and a final
   NULL; columnNames holds the argc names, the argc declared types and a final NULL.
   Returning non-zero stops the statement with SQLITE_ABORT. */
typedef int (*sqlite_callback)(void* argument, int argc, char** argv, char** columnNames);

extern const char sqlite_version[];
extern const char sqlite_encoding[];

const char* sqlite_libversion(void);

/* mode is ignored. On failure returns NULL and, when errmsg is not NULL, an error text
   to be released with sqlite_freemem or free. */
sqlite* sqlite_open(const char* filename, int mode, char** errmsg);

/* Accepts NULL. */
void sqlite_close(sqlite* db);

int sqlite_exec(sqlite* db, const char* sql, sqlite_callback callback, void* argument, char** errmsg);

/* On success *result holds (*nrow + 1) * *ncolumn texts, row 0 being the column names;
   release it with sqlite_free_table. A query without rows gives *nrow = *ncolumn = 0
   and a result that still has to be released. On failure *result is NULL. */
int sqlite_get_table(sqlite* db, const char* sql, char*** result, int* nrow, int* ncolumn, char** errmsg);

/* Accepts NULL. */
void sqlite_free_table(char** result);

void sqlite_freemem(void* p);

#ifdef __cplusplus
}
#endif

#endif
