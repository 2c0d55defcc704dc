# -*- coding: utf-8 -*-
"""The script-node malware families the scan knows, as data.

A family matches a script node when any one of its signatures does. A signature names what it
looks for ("what") and holds up to three conditions, all of which must hold:
- "node": a regular expression searched in the node's name (its namespace taken off);
- "body": regular expressions, each searched in the node's script text (before and after
  script, and any text hidden in them as base64); the first one's matching line is the evidence;
- "automatic": true when the node must run by itself (any script type but Demand).
Patterns are searched with re.IGNORECASE | re.MULTILINE unless they set their own flags.

The families come from public descriptions of script-node malware seen in studios; every
signature names something a scene saved by Maya or written for a rig never holds (a node name
the malware picks, a file or folder it writes, a warning it prints, its way of hiding code).
Loose traits (a scriptJob, an import of maya.cmds, a path under APPDATA) only count together
with a trait of the same family. The last family is the generic one: it is reported for a node
that no named family matched.
"""

# MEL and Python calls that write, copy or delete files, start processes or reach the network.
_FILE_OR_NETWORK = (
    r"\b(?:fopen|fprint|fwrite|sysFile)\b"
    r"|\bsystem\s*\(|\bpopen\s*\("
    r"|\bopen\s*\([^\n]{0,200}?,\s*(?:mode\s*=\s*)?[ub]?['\"](?:[wax]|r\+|rb\+)|\.write_(?:text|bytes)\s*\("
    r"|\bos\.(?:remove|unlink|rename|renames|replace|makedirs|mkdir|rmdir|removedirs|system|popen|startfile"
    r"|chmod)\b"
    r"|\bshutil\.\w+|\bsubprocess\b|\bctypes\b"
    r"|\burllib\w*|\burlopen\b|\bhttplib\b|\bhttp\.client\b|\brequests\.(?:get|post|put)\b"
    r"|\bsocket\.(?:socket|create_connection)\b|\bftplib\b"
)

# Hiding code: base64 decoded and run.
_DECODE = r"\b(?:urlsafe_)?b64decode\b"
_RUN = r"\bexec\b|\beval\s*\(|\bcompile\s*\("

FAMILIES = [
    {
        "family": "PuTianTongQing",
        "title": u"PuTianTongQing (普天同庆)",
        "source": "the module's own scene check; public write-ups of the 2020 MEL script",
        "signatures": [
            {"what": "the PuTianTongQing marker", "body": [r"putiantongqing"]},
        ],
    },
    {
        "family": "DaXunHuan",
        "title": "DaXunHuan",
        "source": "the module's own scene check",
        "signatures": [
            {"what": "the DaXunHuan marker", "body": [r"daxunhuan"]},
        ],
    },
    {
        "family": "vaccine",
        "title": u"vaccine (贼健康, zei jian kang)",
        "source": "public analyses of the 2020 Python script that installs vaccine.py and userSetup.py",
        "signatures": [
            {"what": "a script node named vaccine_gene or breed_gene", "node": r"^(?:vaccine|breed)_gene$"},
            {"what": "refers to its vaccine_gene / breed_gene nodes", "body": [r"\b(?:vaccine|breed)_gene\b"]},
            {"what": "imports the vaccine module", "body": [r"\bimport\s+vaccine\b|\bfrom\s+vaccine\s+import\b"]},
            {"what": "writes vaccine.py", "body": [r"\bvaccine\.pyc?\b"]},
            {"what": "its leukocyte class", "body": [r"\bleukocyte\b"]},
            {"what": "its phage class", "body": [r"\bclass\s+phage\b|\bphage\s*\(\s*\)"]},
            {"what": "its warning text", "body": [u"贼健康"]},
        ],
    },
    {
        "family": "uifiguration",
        "title": "uifiguration (2024)",
        "source": "public descriptions of the 2024 script family (uifiguration and *_gene nodes)",
        "signatures": [
            {"what": "a script node named uifiguration", "node": r"^uifiguration"},
            {"what": "its folder under APPDATA", "body": [r"syssst"]},
            {"what": "writes mayaHIK.pres.mel", "body": [r"\bmayaHIK\.pres\.mel\b"]},
            {"what": "runs code it decodes from base64", "body": [_DECODE, _RUN]},
            {"what": "a *_gene script node with its loader traits",
             "node": r"^(?!(?:vaccine|breed)_gene$)\w+_gene$",
             "body": [r"\bscriptJob\b|\bAPPDATA\b|" + _DECODE]},
        ],
    },
    {
        "family": "MayaMelUIConfigurationFile",
        "title": "MayaMelUIConfigurationFile",
        "source": "public samples of the MEL script posing as Maya's UI configuration "
                  "(it rewrites animImportExport.pres.mel)",
        "signatures": [
            {"what": "a script node named MayaMelUIConfigurationFile", "node": r"^MayaMelUIConfigurationFile$"},
            {"what": "its UI_Mel_Configuration procedures", "body": [r"\bUI_Mel_Configuration_\w+"]},
            {"what": "writes animImportExport.pres.mel", "body": [r"\banimImportExport\.pres\.mel\b"]},
            {"what": "its doubled UI configuration header",
             "body": [r"Maya Mel UI Configuration File\.\s*Maya Mel UI Configuration File"]},
            {"what": "file or system commands after the UI configuration",
             "body": [r"\b(?:fopen|fprint|fwrite|sysFile|getFileList)\b|\bsystem\s*\(|\bgetenv\s+\"?MAYA_LOCATION",
                      r"\A\s*//\s*Maya Mel UI Configuration File"]},
        ],
    },
    {
        "family": "on-open-dropper",
        "title": "script that runs by itself and writes files or reaches the network",
        "source": "how every family above spreads: a script node that runs when the scene opens",
        "generic": True,
        "signatures": [
            {"what": "runs by itself and writes files, starts processes or reaches the network",
             "automatic": True, "body": [_FILE_OR_NETWORK]},
        ],
    },
]

# Maya's scriptType enumeration.
SCRIPT_TYPES = {0: "Demand", 1: "Open/Close", 2: "GUI Open/Close", 3: "UI Configuration",
                4: "Software Render", 5: "Software Frame Render", 6: "Scene Configuration", 7: "Time Changed"}

# The types whose before-script Maya runs when it opens the scene (2 and 3 only with a UI).
RUNS_ON_OPEN = frozenset([1, 2, 3, 6])
