#include "net/ServiceEndpoints.h"

#include "DeploymentConfig.h"

// Never destroyed: jobs that are still running when the process ends read it
// after the run-time has destroyed its static objects.
const ServiceEndpoints& DeployedEndpoints() {
    static const ServiceEndpoints* const endpoints = new ServiceEndpoints{
        ParseHostPort(KESTRIX_UPDATE_HOST, 0),
        ParseHostPort(KESTRIX_LOGCONF_HOST, 443),
        ParseHostPort(KESTRIX_COLLECTOR_HOST, 443),
    };
    return *endpoints;
}

platform::ExpectedSigner ExpectedSetupSigner() {
    return {KESTRIX_SETUP_SIGNER, KESTRIX_SETUP_SIGNER_ORGANIZATION, KESTRIX_SETUP_SIGNER_ISSUER};
}

std::wstring HelpPageUrl() {
    return std::wstring(L"https://") + KESTRIX_HELP_HOST +
           L"/help/troubleshoot-installation-problems";
}
