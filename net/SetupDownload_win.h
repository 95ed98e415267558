#pragma once

class CKNHttpAdapter;

// Fetches the URL into the file at the path in 4096-byte chunks, reporting
// progress after every read attempt and honouring the worker's pause and
// abort flags; ends with one completion report whose payload is the path
// when the file is complete and no abort was asked for.
void RunSetupDownload(CKNHttpAdapter& adapter, const wchar_t* pszUrl, const wchar_t* pszPath);
