/* Preloaded into a chmlib viewer by the viewer test: appends every name the
   viewer looks up in a compiled help, with chmlib's answer (0 = found), to
   the file named by QUORVEX_RESOLVE_LOG. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

struct chmFile;
struct chmUnitInfo;
typedef int (*ResolveFunction)(struct chmFile*, const char*, struct chmUnitInfo*);

int chm_resolve_object(struct chmFile* file, const char* name, struct chmUnitInfo* unit) {
  static ResolveFunction resolve;
  if (!resolve) resolve = (ResolveFunction)dlsym(RTLD_NEXT, "chm_resolve_object");
  int result = resolve(file, name, unit);
  const char* logName = getenv("QUORVEX_RESOLVE_LOG");
  FILE* log = logName ? fopen(logName, "a") : NULL;
  if (log) {
    fprintf(log, "%d %s\n", result, name);
    fclose(log);
  }
  return result;
}
