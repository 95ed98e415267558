#!/usr/bin/env bash
# Signs a copy of a Windows program for the tests and the demo, with code-signing
# certificates made once next to the stand-in's test CA (which the tests'
# Wine prefix trusts) and made anew whenever that CA or their subject changes:
#
#   sign-program.sh <stand-in certs dir> <signer> <in.exe> <out.exe>
#   sign-program.sh <stand-in certs dir> ca <issuer subject>
#
#   vendor      "CN=Kestrix Test Signer, O=Kestrix Office tests", issued by the
#               test CA: the signer the test build expects
#   other-name  "CN=Someone Else Ltd.", issued by the test CA
#   other-organization
#               "CN=Kestrix Test Signer, O=Someone Else Ltd.", issued by the test CA
#   other-ca    the vendor's subject, issued by "Kestrix Office Other Test CA",
#               which the caller trusts as well (`ca` prints its DER file)
#   untrusted   the vendor's subject, issued by a CA that no store holds, which
#               the signature carries along
#   named       the subject KESTRIX_SIGN_SUBJECT ("/CN=.../O=..."), issued by
#               the CA KESTRIX_SIGN_ISSUER names, or by the test CA when it is
#               unset: the signer a build with other deployment values expects
#
# `ca` makes (once) a root CA with that subject ("/O=.../CN=...") beside the
# others and prints the path of its DER file, for the caller to trust.
set -euo pipefail
usage="usage: sign-program.sh <certs dir> <vendor|other-name|other-organization|other-ca|untrusted|named> <in.exe> <out.exe>
       sign-program.sh <certs dir> ca <issuer subject>"
[ $# = 4 ] || { [ $# = 3 ] && [ "$2" = ca ]; } || { echo "$usage" >&2; exit 2; }
certs=$1
signer=$2
dir=$certs/codesign
mkdir -p "$dir"
exec 9>"$dir/lock"
flock 9

quiet() { "$@" >>"$dir/openssl.log" 2>&1 || { cat "$dir/openssl.log" >&2; exit 1; }; }
# A subject as openssl prints it, to tell whether a kept certificate still has it.
printed_subject() { openssl x509 -noout -subject -nameopt RFC2253 -in "$1" 2>/dev/null; }
wanted_subject() {
  openssl req -new -newkey rsa:1024 -nodes -keyout /dev/null -subj "$1" 2>/dev/null |
    openssl req -noout -subject -nameopt RFC2253 2>/dev/null
}

# A code-signing certificate <name>.pem/.key for <subject> from <ca>, kept
# while it still verifies against that CA and has that subject.
issue() {
  local name=$1 subject=$2 ca=$3 ca_key=$4
  if [ -f "$dir/$name.pem" ] && [ -f "$dir/$name.key" ] &&
    openssl verify -CAfile "$ca" "$dir/$name.pem" >/dev/null 2>&1 &&
    [ "$(printed_subject "$dir/$name.pem")" = "$(wanted_subject "$subject")" ]; then
    return
  fi
  quiet openssl req -new -newkey rsa:2048 -nodes -keyout "$dir/$name.key" \
    -subj "$subject" -out "$dir/$name.csr"
  quiet openssl x509 -req -in "$dir/$name.csr" -CA "$ca" -CAkey "$ca_key" -set_serial "0x$(openssl rand -hex 8)" \
    -days 825 -out "$dir/$name.pem" -extfile <(printf '%s\n' basicConstraints=CA:FALSE \
      keyUsage=critical,digitalSignature extendedKeyUsage=codeSigning)
}

# A root CA <name>.pem/.key/.der with <subject>, kept while it has it.
root_ca() {
  local name=$1 subject=$2
  if [ -f "$dir/$name.pem" ] && [ -f "$dir/$name.key" ] && [ -f "$dir/$name.der" ] &&
    [ "$(printed_subject "$dir/$name.pem")" = "$(wanted_subject "$subject")" ]; then
    return
  fi
  quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/$name.key" \
    -subj "$subject" -days 3650 -out "$dir/$name.pem" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
  quiet openssl x509 -in "$dir/$name.pem" -outform DER -out "$dir/$name.der"
}

# The name under which a CA with that subject is kept.
ca_name() { echo "ca-$(printf '%s' "$1" | sha256sum | cut -c1-16)"; }

vendor_subject="/CN=Kestrix Test Signer/O=Kestrix Office tests"
other_ca_subject="/O=Kestrix Office tests/CN=Kestrix Office Other Test CA"

if [ "$signer" = ca ]; then
  name=$(ca_name "$3")
  root_ca "$name" "$3"
  echo "$dir/$name.der"
  exit 0
fi

in=$3
out=$4
extra=()
case "$signer" in
vendor)
  issue vendor "$vendor_subject" "$certs/ca.pem" "$certs/ca.key"
  ;;
other-name)
  issue other-name "/CN=Someone Else Ltd." "$certs/ca.pem" "$certs/ca.key"
  ;;
other-organization)
  issue other-organization "/CN=Kestrix Test Signer/O=Someone Else Ltd." "$certs/ca.pem" "$certs/ca.key"
  ;;
other-ca)
  ca=$(ca_name "$other_ca_subject")
  root_ca "$ca" "$other_ca_subject"
  issue other-ca "$vendor_subject" "$dir/$ca.pem" "$dir/$ca.key"
  ;;
untrusted)
  root_ca untrusted-ca "/CN=Kestrix Untrusted Test CA"
  issue untrusted "$vendor_subject" "$dir/untrusted-ca.pem" "$dir/untrusted-ca.key"
  extra=(-ac "$dir/untrusted-ca.pem")
  ;;
named)
  subject=${KESTRIX_SIGN_SUBJECT:?named needs KESTRIX_SIGN_SUBJECT}
  signer=named-$(printf '%s|%s' "$subject" "${KESTRIX_SIGN_ISSUER:-}" | sha256sum | cut -c1-16)
  if [ -n "${KESTRIX_SIGN_ISSUER:-}" ]; then
    ca=$(ca_name "$KESTRIX_SIGN_ISSUER")
    root_ca "$ca" "$KESTRIX_SIGN_ISSUER"
    issue "$signer" "$subject" "$dir/$ca.pem" "$dir/$ca.key"
  else
    issue "$signer" "$subject" "$certs/ca.pem" "$certs/ca.key"
  fi
  ;;
*)
  echo "$usage" >&2
  exit 2
  ;;
esac
rm -f "$out"
quiet osslsigncode sign -certs "$dir/$signer.pem" -key "$dir/$signer.key" "${extra[@]}" \
  -n "Kestrix Office Setup" -h sha256 -in "$in" -out "$out"
