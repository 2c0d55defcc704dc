"""Stand-ins placed in a temporary build folder: they shadow the real module and
maya.cmds so that the client's side of the protocol can be driven exactly.

FAKE_HOST tells the fake analyzer what to do: "deliver" (the JSON in
FAKE_RESULT, then SIGKILL as the real module does), "raise" (an error escapes
runMain), "return" (runMain returns without delivering). A scene can choose for
itself with a line "//fake-host: BEHAVIOUR [ARGUMENT]": also "status N" (deliver
FAKE_RESULT with status N), "crash" (the host dies by SIGSEGV) and "wait FILE"
(write the host's pid to FILE.pid, then deliver once FILE exists). The fake
maya.cmds records its dirmap, workspace and open calls in FAKE_CALLS.
"""

VANALYZER = r'''
import json, os, re, signal, time
import vout
from maya import cmds

def _chosen():
    with open(cmds.file(q=True, sn=True)) as handle:
        match = re.search(r"^//fake-host: (\w+) ?(.*)$", handle.read(), re.M)
    return match.groups() if match else (os.environ.get("FAKE_HOST", "deliver"), "")

def runMain(analyzerMode, isGetRSTemp):
    behaviour, argument = _chosen()
    vout.Info("Pelk Loaded.")
    vout.RecordMissing("/proj/missing_b.png")
    vout.RecordMissing("/proj/missing_a.png")
    vout.RecordMissing("/proj/missing_a.png")
    if behaviour == "raise":
        raise KeyError("finalResult")
    if behaviour == "return":
        return
    if behaviour == "crash":
        os.kill(os.getpid(), signal.SIGSEGV)
    if behaviour == "wait":
        with open(argument + ".pid", "w") as handle:
            handle.write(str(os.getpid()))
        while not os.path.exists(argument):
            time.sleep(0.05)
    result = os.environ["FAKE_RESULT"].replace("SCENE", cmds.file(q=True, sn=True))
    if behaviour == "status":
        result = json.dumps(dict(json.loads(result), status=int(argument)))
    vout.RecordAssets("/proj/a.png")
    vout.OutResult(result)
    os.kill(os.getpid(), signal.SIGKILL)
'''

CMDS = r'''
import json, os

_scene = [""]

def _record(*call):
    # FAKE_CALLS: a file that gets one JSON line per dirmap, workspace and open call, in order
    if os.environ.get("FAKE_CALLS"):
        with open(os.environ["FAKE_CALLS"], "a") as handle:
            handle.write(json.dumps(call) + "\n")

def dirmap(**flags):
    _record("dirmap", flags)

def workspace(*args, **flags):
    _record("workspace", list(args), flags)

def _take_host_messages():
    # FAKE_HOST_MESSAGES: [[level, text], ...] the host says while opening the scene
    return [tuple(m) for m in json.loads(os.environ.get("FAKE_HOST_MESSAGES") or "[]")]

def file(*args, **flags):
    if flags.get("open"):
        _record("open", args[0])
        with open(args[0]) as handle:
            if not handle.read().startswith("//Maya ASCII"):
                raise RuntimeError("not a Maya ASCII file: %s" % args[0])
        _scene[0] = args[0]
        return args[0]
    if flags.get("q") and flags.get("sn"):
        return _scene[0]
    raise RuntimeError("unsupported")
'''


def install(build):
    import os
    for sub in ("abi3", "py27"):
        folder = os.path.join(build, sub)
        os.makedirs(os.path.join(folder, "maya"))
        with open(os.path.join(folder, "vanalyzer.py"), "w") as handle:
            handle.write(VANALYZER)
        with open(os.path.join(folder, "maya", "__init__.py"), "w") as handle:
            handle.write("")
        with open(os.path.join(folder, "maya", "cmds.py"), "w") as handle:
            handle.write(CMDS)
