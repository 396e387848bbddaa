#include "host_program.h"

#include <string.h>

void hostProgramStart(HostProgram *host, const HostSymbol *symbols, int symbolCount, const char *const *texts,
                      int textCount) {
  memset(host, 0, sizeof *host);
  host->symbols = symbols;
  host->symbolCount = symbolCount;
  host->texts = texts;
  host->textCount = textCount;
  host->reading = -1;
}

int hostFindSymbol(const char *name, int *symNr, void *hostHandle) {
  HostProgram *host = (HostProgram *)hostHandle;
  size_t length = (unsigned char)name[0];
  int i;
  host->finds++;
  if (host->failure == HOST_FAIL_FIND_SYMBOL) return 1;
  for (i = 0; i < host->symbolCount; ++i) {
    if (strlen(host->symbols[i].name) == length && memcmp(host->symbols[i].name, name + 1, length) == 0) {
      *symNr = i + 1;
      return 0;
    }
  }
  return 2;
}

int hostDataReadRawStart(int symNr, int *recordCount, void *hostHandle) {
  HostProgram *host = (HostProgram *)hostHandle;
  if (host->failure == HOST_FAIL_READ_START || symNr < 1 || symNr > host->symbolCount) return 1;
  host->reading = symNr - 1;
  host->next = 0;
  *recordCount = host->symbols[symNr - 1].recordCount;
  return 0;
}

int hostDataReadRaw(int *keys, double *values, int *dimFirst, void *hostHandle) {
  HostProgram *host = (HostProgram *)hostHandle;
  const HostSymbol *sym = host->reading < 0 ? NULL : &host->symbols[host->reading];
  int i;
  if (sym == NULL || host->next >= sym->recordCount) return 1;
  if (host->failure == HOST_FAIL_READ && host->next == sym->recordCount - 1) return 3;
  for (i = 0; i < sym->dim; ++i) keys[i] = sym->keys[host->next * sym->dim + i];
  for (i = 0; i < 5; ++i) values[i] = sym->values[host->next * 5 + i];
  *dimFirst = 1;
  host->next++;
  return 0;
}

int hostDataReadDone(void *hostHandle) {
  HostProgram *host = (HostProgram *)hostHandle;
  host->reading = -1;
  return host->failure == HOST_FAIL_READ_DONE ? 1 : 0;
}

int hostElemText(int textNr, char *text, int maxLength, void *hostHandle) {
  HostProgram *host = (HostProgram *)hostHandle;
  size_t length;
  host->elemTexts++;
  if (host->failure == HOST_FAIL_ELEM_TEXT || textNr < 1 || textNr > host->textCount) return 1;
  length = strlen(host->texts[textNr - 1]);
  if (length > (size_t)maxLength) length = (size_t)maxLength;
  text[0] = (char)length;
  memcpy(text + 1, host->texts[textNr - 1], length);
  return 0;
}

void hostLog(const char *msg, void *hostHandle) {
  HostProgram *host = (HostProgram *)hostHandle;
  memcpy(host->logged, msg, 1 + (size_t)(unsigned char)msg[0]);
  host->logCalls++;
}
