' Dirtext from the platform's script host: its list members, properties and
' errors with their numbers.
Option Explicit
Dim failures : failures = 0
Sub Check(condition, what)
  If Not condition Then
    WScript.Echo "FAILED: " & what
    failures = failures + 1
  End If
End Sub

Dim d : Set d = CreateObject("QuorralSet.Dirtext")
Check d.ListCount = 0, "a new Dirtext is empty"
d.AddItem "C:\windows\win.ini"
d.AddItem "C:\first.txt", 0
Check d.ListCount = 2, "two entries"
Check d.List(0) = "C:\first.txt", "AddItem with an index inserts there"
d.ListIndex = 1
Check d.Text = "C:\windows\win.ini", "Text is the selected entry"
d.dlgType = 2
Check d.dlgType = 2, "dlgType"
d.Filter = "Text files|*.txt"
Check d.Filter = "Text files|*.txt", "Filter"
d.Clear
Check d.ListCount = 0, "Clear empties the list"

On Error Resume Next
Dim x : x = d.List(5)
Check Err.Number = 381, "a bad list index fails with 381 (got " & Err.Number & ")"
Err.Clear
On Error GoTo 0

If failures > 0 Then WScript.Quit 1
WScript.Echo "ok"
