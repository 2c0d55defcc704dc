"""Test double of the service's output module: records log lines, assets and results."""
import scenario


def _log(level, text):
    scenario.current.add_event(("log", level, text))


def Debug(text):
    _log("Debug", text)


def Info(text):
    _log("Info", text)


def Warring(text):
    _log("Warring", text)


def Error(text):
    _log("Error", text)


def RecordAssets(path):
    scenario.current.record_call("vout.RecordAssets", (path,), {})
    scenario.current.recorded_assets.append(path)


def OutResult(text):
    scenario.current.record_call("vout.OutResult", (text,), {})
    scenario.current.results.append(text)
