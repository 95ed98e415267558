#include "platform/SignatureCheck_win.h"

#include "platform/DistinguishedName.h"
#include "platform/SystemLibrary_win.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

namespace platform {

namespace {

// The calls this check makes, from DLLs loaded at run time; each type comes
// from the system's own declaration.
struct TrustCalls {
    decltype(&::WinVerifyTrust) verify;
    decltype(&::WTHelperProvDataFromStateData) providerData;
    decltype(&::WTHelperGetProvSignerFromChain) signer;
    decltype(&::WTHelperGetProvCertFromChain) certificate;
    decltype(&::CertGetCertificateChain) chain;
    decltype(&::CertFreeCertificateChain) freeChain;

    bool Complete() const {
        return verify && providerData && signer && certificate && chain && freeChain;
    }
};

TrustCalls LoadTrustCalls() {
    const HMODULE wintrust = LoadSystemLibrary(L"wintrust.dll");
    const HMODULE crypt32 = LoadSystemLibrary(L"crypt32.dll");
    TrustCalls calls;
    calls.verify = SystemProc<decltype(calls.verify)>(wintrust, "WinVerifyTrust");
    calls.providerData =
        SystemProc<decltype(calls.providerData)>(wintrust, "WTHelperProvDataFromStateData");
    calls.signer = SystemProc<decltype(calls.signer)>(wintrust, "WTHelperGetProvSignerFromChain");
    calls.certificate =
        SystemProc<decltype(calls.certificate)>(wintrust, "WTHelperGetProvCertFromChain");
    calls.chain = SystemProc<decltype(calls.chain)>(crypt32, "CertGetCertificateChain");
    calls.freeChain = SystemProc<decltype(calls.freeChain)>(crypt32, "CertFreeCertificateChain");
    return calls;
}

// Read from its encoding here: Windows' own decoders do not agree on
// whether a value's length counts a terminating NUL.
std::optional<DistinguishedName> SubjectOf(PCCERT_CONTEXT certificate) {
    const CERT_NAME_BLOB& subject = certificate->pCertInfo->Subject;
    return ParseDistinguishedName(subject.pbData, subject.cbData);
}

// The signer's chain as of the time the signature is checked against (its
// timestamp, if any), with the certificates the signature carries: its
// errors, and the subject of the CA that issued the signer certificate.
void ReadChain(const TrustCalls& calls, const CRYPT_PROVIDER_SGNR& signer,
               PCCERT_CONTEXT certificate, SignatureFacts& facts) {
    CERT_CHAIN_PARA parameters = {};
    parameters.cbSize = sizeof(parameters);
    FILETIME asOf = signer.sftVerifyAsOf;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!calls.chain(nullptr, certificate, &asOf, certificate->hCertStore, &parameters, 0, nullptr,
                     &chain) ||
        !chain)
        return;
    facts.chainBuilt = true;
    facts.chainErrors = chain->TrustStatus.dwErrorStatus;
    if (chain->cChain > 0 && chain->rgpChain[0]->cElement > 1) {
        if (const auto issuer = SubjectOf(chain->rgpChain[0]->rgpElement[1]->pCertContext))
            facts.issuerName = DistinguishedNameText(*issuer);
    }
    calls.freeChain(chain);
}

} // namespace

SignatureFacts ReadSignature(HANDLE file, const wchar_t* path) {
    SignatureFacts facts;
    static const TrustCalls calls = LoadTrustCalls();
    if (!calls.Complete())
        return facts;

    WINTRUST_FILE_INFO fileInfo = {};
    fileInfo.cbStruct = sizeof(fileInfo);
    fileInfo.pcwszFilePath = path;
    fileInfo.hFile = file;
    WINTRUST_DATA data = {};
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_REVOCATION_CHECK_NONE;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    facts.trustResult = calls.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);

    if (CRYPT_PROVIDER_DATA* provider = calls.providerData(data.hWVTStateData)) {
        CRYPT_PROVIDER_SGNR* signer = calls.signer(provider, 0, FALSE, 0);
        CRYPT_PROVIDER_CERT* certificate = signer ? calls.certificate(signer, 0) : nullptr;
        if (certificate && certificate->pCert) {
            if (const auto subject = SubjectOf(certificate->pCert)) {
                facts.signerCommonNames = AttributeValues(*subject, kCommonNameOid);
                facts.signerOrganizations = AttributeValues(*subject, kOrganizationOid);
            }
            ReadChain(calls, *signer, certificate->pCert, facts);
        }
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    calls.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return facts;
}

} // namespace platform
