"""SOAP side of the test WS-Management responder: parses requests, keeps
enumeration state and writes answers the way WinRM writes WMI data."""

import re
import threading
import uuid
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape, quoteattr

NS = {
    "s": "http://www.w3.org/2003/05/soap-envelope",
    "a": "http://schemas.xmlsoap.org/ws/2004/08/addressing",
    "w": "http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd",
    "n": "http://schemas.xmlsoap.org/ws/2004/09/enumeration",
    "f": "http://schemas.microsoft.com/wbem/wsman/1/wsmanfault",
    "wsmid": "http://schemas.dmtf.org/wbem/wsman/identity/1/wsmanidentity.xsd",
    "cim": "http://schemas.dmtf.org/wbem/wscim/1/common",
    "xsi": "http://www.w3.org/2001/XMLSchema-instance",
}
CIMV2 = "http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/"
ENUM = NS["n"] + "/"
WQL = "http://schemas.microsoft.com/wbem/wsman/1/WQL"
ANONYMOUS = "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous"

# HRESULT-style codes a client may read from WSManFault/@Code.
CODE_INVALID_CLASS = 2147749904      # 0x80041010 WBEM_E_INVALID_CLASS
CODE_TOO_BUSY = 2147944123           # 0x800706BB RPC_S_SERVER_TOO_BUSY
CODE_ACCESS_DENIED = 5               # ERROR_ACCESS_DENIED
CODE_INVALID_QUERY = 2147749911      # 0x80041017 WBEM_E_INVALID_QUERY

MAX_PULL = 32000
DEFAULT_ENVELOPE = 512000   # WinRM's MaxEnvelopeSizekb default of 500
ENVELOPE_OVERHEAD = 2048    # room for headers around the items


class Fault(Exception):
    def __init__(self, code, subcode, reason, wsman_code=None, wmi_error=None):
        super().__init__(reason)
        self.code, self.subcode, self.reason = code, subcode, reason
        self.wsman_code, self.wmi_error = wsman_code, wmi_error


def _t(prefix, name):
    return "{%s}%s" % (NS[prefix], name)


# ---------------------------------------------------------------- instances

def check_value(v, where):
    if isinstance(v, list):
        for x in v:
            if isinstance(x, list):
                raise ValueError("%s: nested arrays are not supported" % where)
            check_value(x, where)
    elif isinstance(v, dict):
        if set(v) != {"datetime"} or not isinstance(v["datetime"], str):
            raise ValueError("%s: objects must be {\"datetime\": \"...\"}" % where)
    elif v is not None and not isinstance(v, (str, int, float, bool)):
        raise ValueError("%s: unsupported value %r" % (where, v))


def check_fixtures(data):
    if not isinstance(data, dict):
        raise ValueError("fixtures: top level must be an object")
    for cls, items in data.items():
        if not re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", cls) or not isinstance(items, list):
            raise ValueError("fixtures: bad class entry %r" % cls)
        for i, inst in enumerate(items):
            if not isinstance(inst, dict):
                raise ValueError("fixtures: %s[%d] is not an object" % (cls, i))
            for prop, v in inst.items():
                if not re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", prop):
                    raise ValueError("fixtures: bad property name %r" % prop)
                check_value(v, "%s[%d].%s" % (cls, i, prop))


def _text(v):
    if isinstance(v, bool):
        return "true" if v else "false"
    return escape(str(v))


def _prop(name, v):
    if v is None:
        return '<p:%s xsi:nil="true"/>' % name
    if isinstance(v, list):
        return "".join(_prop(name, x) for x in v)
    if isinstance(v, dict):
        return "<p:%s><cim:Datetime>%s</cim:Datetime></p:%s>" % (name, escape(v["datetime"]), name)
    return "<p:%s>%s</p:%s>" % (name, _text(v), name)


def instance_xml(cls, inst):
    head = ('<p:%s xmlns:p="%s%s" xmlns:cim="%s" xmlns:xsi="%s" xsi:type="p:%s_Type">'
            % (cls, CIMV2, cls, NS["cim"], NS["xsi"], cls))
    return head + "".join(_prop(k, v) for k, v in inst.items()) + "</p:%s>" % cls


# ---------------------------------------------------------------- envelopes

def envelope(action, relates_to, body):
    return ('<s:Envelope xmlns:s="%s" xmlns:a="%s" xmlns:w="%s" xmlns:n="%s" xml:lang="en-US">'
            "<s:Header><a:Action>%s</a:Action><a:MessageID>uuid:%s</a:MessageID>"
            "<a:To>%s</a:To>%s</s:Header><s:Body>%s</s:Body></s:Envelope>"
            % (NS["s"], NS["a"], NS["w"], NS["n"], action, str(uuid.uuid4()).upper(), ANONYMOUS,
               "<a:RelatesTo>%s</a:RelatesTo>" % escape(relates_to) if relates_to else "",
               body)).encode("utf-8")


def fault_xml(fault, relates_to, machine):
    detail = ""
    if fault.wsman_code is not None:
        detail = ('<f:WSManFault xmlns:f="%s" Code="%d" Machine=%s><f:Message>%s</f:Message></f:WSManFault>'
                  % (NS["f"], fault.wsman_code, quoteattr(machine), escape(fault.reason)))
    if fault.wmi_error is not None:
        detail += wmi_error_xml(fault.wmi_error, fault.reason)
    body = ('<s:Fault><s:Code><s:Value>s:%s</s:Value><s:Subcode><s:Value>%s</s:Value></s:Subcode></s:Code>'
            '<s:Reason><s:Text xml:lang="en-US">%s</s:Text></s:Reason>%s</s:Fault>'
            % (fault.code, fault.subcode, escape(fault.reason),
               "<s:Detail>%s</s:Detail>" % detail if detail else ""))
    return envelope(NS["a"] + "/fault", relates_to, body)


def wmi_error_xml(hresult, message):
    cls = "MSFT_WmiError"
    inst = {"CIMStatusCode": 5 if hresult == CODE_INVALID_CLASS else 1, "ErrorType": 0,
            "Message": message, "MessageID": "HRESULT 0x%08x" % hresult,
            "OwningEntity": None, "PerceivedSeverity": 0, "ProbableCause": 0,
            "error_Category": 30 if hresult == CODE_INVALID_CLASS else 0,
            "error_Code": hresult, "error_Type": "HRESULT", "error_WindowsErrorMessage": None}
    return instance_xml(cls, inst).replace(
        "<p:%s " % cls, '<p:%s xmlns:b="%s" b:IsCIM_Error="true" ' % (cls, NS["f"]), 1)


def identify_xml():
    return ('<s:Envelope xmlns:s="%s" xml:lang="en-US"><s:Header/><s:Body>'
            '<wsmid:IdentifyResponse xmlns:wsmid="%s"><wsmid:ProtocolVersion>%s</wsmid:ProtocolVersion>'
            "<wsmid:ProductVendor>Microsoft Corporation</wsmid:ProductVendor>"
            "<wsmid:ProductVersion>OS: 10.0.19045 SP: 0.0 Stack: 3.0</wsmid:ProductVersion>"
            "</wsmid:IdentifyResponse></s:Body></s:Envelope>"
            % (NS["s"], NS["wsmid"], NS["w"])).encode("utf-8")


# ---------------------------------------------------------------- service

class Source:
    """One class's instances: a count (None = endless) and an accessor."""

    def __init__(self, cls, count, get):
        self.cls, self.count, self.get = cls, count, get


class Service:
    def __init__(self, fixtures, busy=(), never_ending=(), huge=None, deny_users=()):
        self.fixtures = {k.lower(): (k, v) for k, v in fixtures.items()}
        self.busy = {c.lower() for c in busy}
        self.never_ending = {c.lower() for c in never_ending}
        self.huge = {c.lower(): n for c, n in (huge or {}).items()}
        self.deny = {u.lower() for u in deny_users}
        cs = fixtures.get("Win32_ComputerSystem") or [{}]
        self.machine = str(cs[0].get("Name") or "localhost")
        self.contexts = {}
        self.lock = threading.Lock()

    def handle(self, body, user, identify_only=False):
        """Answers one SOAP request: (HTTP status, response bytes).  With
        identify_only, anything but Identify answers None (needs a login)."""
        if b"<!doctype" in body.lower():
            raise ValueError("document type declarations are not accepted")
        try:
            root = ET.fromstring(body)
        except ET.ParseError:
            raise ValueError("not well-formed XML")
        if root.tag != _t("s", "Envelope"):
            raise ValueError("not a SOAP 1.2 envelope")
        header = root.find(_t("s", "Header"))
        soap_body = root.find(_t("s", "Body"))
        if soap_body is None:
            raise ValueError("no SOAP body")
        if soap_body.find(_t("wsmid", "Identify")) is not None:
            return 200, identify_xml()
        if identify_only:
            return None
        msg_id, action, uri, size = (_header(header, p, n) for p, n in
                                     (("a", "MessageID"), ("a", "Action"), ("w", "ResourceURI"),
                                      ("w", "MaxEnvelopeSize")))
        try:
            budget = (int(size) if size else DEFAULT_ENVELOPE) - ENVELOPE_OVERHEAD
            if action == ENUM + "Enumerate":
                return 200, self.enumerate(soap_body.find(_t("n", "Enumerate")), uri, user, msg_id, budget)
            if action == ENUM + "Pull":
                return 200, self.pull(soap_body.find(_t("n", "Pull")), msg_id, budget)
            if action == ENUM + "Release":
                return 200, self.release(soap_body.find(_t("n", "Release")), msg_id)
            raise Fault("Sender", "a:ActionNotSupported",
                        "The action is not supported by the service: %s" % action)
        except ValueError:
            return 500, fault_xml(Fault("Sender", "w:InvalidParameter", "MaxEnvelopeSize is not a number."),
                                  msg_id, self.machine)
        except Fault as f:
            return 500, fault_xml(f, msg_id, self.machine)

    def source(self, uri, request):
        filt = request.find(_t("w", "Filter"))
        if uri.startswith(CIMV2) and uri != CIMV2 + "*" and filt is None:
            cls = uri[len(CIMV2):]
        elif uri == CIMV2 + "*" and filt is not None and filt.get("Dialect") == WQL:
            m = re.fullmatch(r"\s*select\s+\*\s+from\s+(\w+)\s*", filt.text or "", re.I)
            if not m:
                raise Fault("Sender", "w:CannotProcessFilter", "The WQL query is invalid or not supported.",
                            CODE_INVALID_QUERY, CODE_INVALID_QUERY)
            cls = m.group(1)
        else:
            raise Fault("Sender", "w:DestinationUnreachable",
                        "The WS-Management service cannot process the request. "
                        "The resource URI is not valid: %s" % uri)
        key = cls.lower()
        if key in self.busy:
            raise Fault("Receiver", "w:InternalError",
                        "The WS-Management service cannot process the request. "
                        "The server is too busy to complete this operation.", CODE_TOO_BUSY)
        if key not in self.fixtures and key not in self.huge and key not in self.never_ending:
            raise Fault("Sender", "w:DestinationUnreachable",
                        "The WS-Management service cannot process the request. The WMI service or "
                        "the WMI provider returned an unknown error: HRESULT 0x%08x" % CODE_INVALID_CLASS,
                        CODE_INVALID_CLASS, CODE_INVALID_CLASS)
        name, items = self.fixtures.get(key, (cls, []))
        if key in self.huge:
            return Source(name, self.huge[key], lambda i: generated(items, i))
        if key in self.never_ending:
            if not items:
                items = [{"Name": "Endless"}]
            return Source(name, None, lambda i: items[i % len(items)])
        return Source(name, len(items), items.__getitem__)

    def enumerate(self, request, uri, user, msg_id, budget):
        if request is None:
            raise Fault("Sender", "w:SchemaValidationError", "The Enumerate body is missing.")
        if user and (user.lower() in self.deny or user.split("\\")[-1].lower() in self.deny):
            raise Fault("Sender", "w:AccessDenied", "Access is denied.", CODE_ACCESS_DENIED)
        src = self.source(uri, request)
        ctx_id = "uuid:" + str(uuid.uuid4()).upper()
        state = {"src": src, "pos": 0, "lock": threading.Lock()}
        items = ""
        if request.find(_t("w", "OptimizeEnumeration")) is not None:
            items, done = self.take(state, _max_elements(request.find(_t("w", "MaxElements"))), budget)
            items = "<w:Items>%s</w:Items>%s" % (items, "<w:EndOfSequence/>" if done else "")
            if done:
                body = "<n:EnumerateResponse>%s</n:EnumerateResponse>" % items
                return envelope(ENUM + "EnumerateResponse", msg_id, body)
        with self.lock:
            self.contexts[ctx_id] = state
        body = ("<n:EnumerateResponse><n:EnumerationContext>%s</n:EnumerationContext>%s"
                "</n:EnumerateResponse>" % (ctx_id, items))
        return envelope(ENUM + "EnumerateResponse", msg_id, body)

    def take(self, state, n, budget):
        """Next items, at most n and as many as fit in the envelope budget."""
        src, pos = state["src"], state["pos"]
        end = pos + n if src.count is None else min(pos + n, src.count)
        parts, used = [], 0
        for i in range(pos, end):
            item = instance_xml(src.cls, src.get(i))
            used += len(item.encode("utf-8"))
            if used > budget:
                if not parts:
                    raise Fault("Sender", "w:EncodingLimit", "The response that the WS-Management service "
                                "computed exceeds the maximum envelope size in the request.")
                end = i
                break
            parts.append(item)
        state["pos"] = end
        return "".join(parts), src.count is not None and end >= src.count

    def _context(self, request):
        el = request.find(_t("n", "EnumerationContext")) if request is not None else None
        ctx_id = (el.text or "").strip() if el is not None else ""
        with self.lock:
            state = self.contexts.get(ctx_id)
        if state is None:
            raise Fault("Sender", "n:InvalidEnumerationContext",
                        "The enumeration context supplied in the message is not valid.")
        return ctx_id, state

    def pull(self, request, msg_id, budget):
        ctx_id, state = self._context(request)
        with state["lock"]:  # one Pull at a time per context keeps positions consistent
            items, done = self.take(state, _max_elements(request.find(_t("n", "MaxElements"))), budget)
        if done:
            with self.lock:
                self.contexts.pop(ctx_id, None)
        tail = "<n:EndOfSequence/>" if done else ""
        ctx = "" if done else "<n:EnumerationContext>%s</n:EnumerationContext>" % ctx_id
        body = "<n:PullResponse>%s<n:Items>%s</n:Items>%s</n:PullResponse>" % (ctx, items, tail)
        return envelope(ENUM + "PullResponse", msg_id, body)

    def release(self, request, msg_id):
        ctx_id, _ = self._context(request)
        with self.lock:
            self.contexts.pop(ctx_id, None)
        return envelope(ENUM + "ReleaseResponse", msg_id, "")


def _header(header, prefix, name):
    el = header.find(_t(prefix, name)) if header is not None else None
    return (el.text or "").strip() if el is not None else ""


def _max_elements(el):
    try:
        n = int((el.text or "").strip()) if el is not None else 1
    except ValueError:
        raise Fault("Sender", "w:InvalidParameter", "MaxElements is not a number.")
    return max(1, min(n, MAX_PULL))


def generated(templates, i):
    """Instance i of a --huge class: a fixture instance made unique, or a plain one."""
    if not templates:
        return {"Name": "Generated %d" % (i + 1), "Vendor": "Varnex Lab", "Version": "1.0.%d" % i}
    inst = dict(templates[i % len(templates)])
    for key in ("Name", "IdentifyingNumber", "HotFixID", "DeviceID"):
        if isinstance(inst.get(key), str):
            inst[key] = "%s %d" % (inst[key], i + 1)
    if "Name" not in inst:
        inst = {"Name": "Generated %d" % (i + 1), **inst}
    return inst
