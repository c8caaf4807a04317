' qCheck and qLabel from the platform's script host: created by ProgID,
' properties read and written, errors reported with their numbers.
Option Explicit
Dim failures : failures = 0
Sub Check(condition, what)
  If Not condition Then
    WScript.Echo "FAILED: " & what
    failures = failures + 1
  End If
End Sub

Dim c : Set c = CreateObject("QuorralSet.qCheck")
Check c.Value = 0, "a new qCheck is unchecked"
c.CheckType = 1
c.Value = 2
Check c.Value = 2, "Value keeps 2"
c.Caption = "Remember me"
Check c.Caption = "Remember me", "Caption"
Check CDbl(c.CheckColor) = 65280, "CheckColor default"

Dim l : Set l = CreateObject("QuorralSet.qLabel")
l.Shadow = -3
Check l.Shadow = -3, "Shadow"
l.Caption = "Shadowed"
Check l.Caption = "Shadowed", "Caption"

On Error Resume Next
l.Shadow = 40000
Check Err.Number = 6, "Shadow out of the 16-bit range overflows (got " & Err.Number & ")"
Err.Clear
On Error GoTo 0

If failures > 0 Then WScript.Quit 1
WScript.Echo "ok"
