' Quorral from the platform's script host: its tip, poll interval and
' cursor properties, the tray icon placed and removed, and errors with
' their numbers.
Option Explicit
Dim failures : failures = 0
Sub Check(condition, what)
  If Not condition Then
    WScript.Echo "FAILED: " & what
    failures = failures + 1
  End If
End Sub

Dim q : Set q = CreateObject("QuorralSet.Quorral")
Check q.SysToolTip = "", "a new tip is empty"
Check q.MouseSensitivity = 0, "no poll at first"
Check q.MouseX = 0 And q.MouseY = 0, "the cursor starts at 0, 0"
Check Not (q.SysIcon Is Nothing), "the built-in icon"
Check q.SysIcon.Type = 3, "the built-in icon is an icon (got " & q.SysIcon.Type & ")"

q.SysToolTip = "Script tip"
Check q.SysToolTip = "Script tip", "SysToolTip"
Check IsEmpty(q.Set_Icon(True)), "Set_Icon returns nothing"
q.Set_Icon True
q.Set_Icon False
q.MouseSensitivity = "250"
Check q.MouseSensitivity = 250, "MouseSensitivity converts text"
Check VarType(q.MouseSensitivity) = 3, "MouseSensitivity is a Long"
q.MouseSensitivity = 0
q.MouseX = "anything"
Check q.MouseX = "anything", "MouseX keeps a Variant at run time"
Set q.MsgBoxPicture = q.SysIcon
Check q.MsgBoxPicture.Type = 3, "MsgBoxPicture takes a picture by reference"
Set q.MsgBoxPicture = Nothing
Check q.MsgBoxPicture Is Nothing, "MsgBoxPicture may be Nothing"

On Error Resume Next
q.MouseSensitivity = 65536
Check Err.Number = 380, "an interval beyond the timer fails with 380 (got " & Err.Number & ")"
Err.Clear
' Read with errors raised: under Resume Next a failing read would skip the check.
On Error GoTo 0
Check q.MouseSensitivity = 65536, "the value is stored before the timer refuses it"
On Error Resume Next
q.MouseSensitivity = "soon"
Check Err.Number = 13, "a text that is no number fails with 13 (got " & Err.Number & ")"
Err.Clear
On Error GoTo 0
q.MouseSensitivity = 0

If failures > 0 Then WScript.Quit 1
WScript.Echo "ok"
