#!/usr/bin/env bash
# Signs a copy of a Windows program for the tests and the demo, with code-signing
# certificates made once next to the stand-in's test CA (which the tests'
# Wine prefix trusts) and made anew whenever that CA changes:
#
#   sign-program.sh <stand-in certs dir> <signer> <in.exe> <out.exe>
#
#   vendor      "Kestrix Test Signer", issued by the test CA: the name the test
#               build expects
#   other-name  "Someone Else Ltd.", issued by the test CA
#   untrusted   "Kestrix Test Signer", issued by a CA that no store holds,
#               which the signature carries along
#   subject:<subject>
#               a certificate with that subject ("/CN=.../O=..."), issued by
#               the test CA: the signer a build with other deployment values
#               expects
set -euo pipefail
usage="usage: sign-program.sh <certs dir> <vendor|other-name|untrusted|subject:/CN=...> <in.exe> <out.exe>"
[ $# = 4 ] || { echo "$usage" >&2; exit 2; }
certs=$1
signer=$2
in=$3
out=$4
dir=$certs/codesign
mkdir -p "$dir"
exec 9>"$dir/lock"
flock 9

quiet() { "$@" >>"$dir/openssl.log" 2>&1 || { cat "$dir/openssl.log" >&2; exit 1; }; }

# A code-signing certificate <name>.pem/.key for <subject> from <ca>, kept
# while it still verifies against that CA.
issue() {
  local name=$1 subject=$2 ca=$3 ca_key=$4
  if [ -f "$dir/$name.pem" ] && [ -f "$dir/$name.key" ] &&
    openssl verify -CAfile "$ca" "$dir/$name.pem" >/dev/null 2>&1; then
    return
  fi
  quiet openssl req -new -newkey rsa:2048 -nodes -keyout "$dir/$name.key" \
    -subj "$subject" -out "$dir/$name.csr"
  quiet openssl x509 -req -in "$dir/$name.csr" -CA "$ca" -CAkey "$ca_key" -set_serial "0x$(openssl rand -hex 8)" \
    -days 825 -out "$dir/$name.pem" -extfile <(printf '%s\n' basicConstraints=CA:FALSE \
      keyUsage=critical,digitalSignature extendedKeyUsage=codeSigning)
}

untrusted_ca() {
  [ -f "$dir/untrusted-ca.pem" ] && [ -f "$dir/untrusted-ca.key" ] && return
  quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/untrusted-ca.key" \
    -subj "/CN=Kestrix Untrusted Test CA" -days 3650 -out "$dir/untrusted-ca.pem" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
}

extra=()
case "$signer" in
vendor)
  issue vendor "/CN=Kestrix Test Signer" "$certs/ca.pem" "$certs/ca.key"
  ;;
other-name)
  issue other-name "/CN=Someone Else Ltd." "$certs/ca.pem" "$certs/ca.key"
  ;;
untrusted)
  untrusted_ca
  issue untrusted "/CN=Kestrix Test Signer" "$dir/untrusted-ca.pem" "$dir/untrusted-ca.key"
  extra=(-ac "$dir/untrusted-ca.pem")
  ;;
subject:/*)
  # One certificate per subject, named for it.
  signer=subject-$(printf '%s' "${signer#subject:}" | sha256sum | cut -c1-16)
  issue "$signer" "${2#subject:}" "$certs/ca.pem" "$certs/ca.key"
  ;;
*)
  echo "$usage" >&2
  exit 2
  ;;
esac
rm -f "$out"
quiet osslsigncode sign -certs "$dir/$signer.pem" -key "$dir/$signer.key" "${extra[@]}" \
  -n "Kestrix Office Setup" -h sha256 -in "$in" -out "$out"
