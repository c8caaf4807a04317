' ShapeButton from the platform's script host: created by ProgID, its
' outline, style and behaviour enumerations, Value and its errors.
Option Explicit
Dim failures : failures = 0
Sub Check(condition, what)
  If Not condition Then
    WScript.Echo "FAILED: " & what
    failures = failures + 1
  End If
End Sub

Dim b : Set b = CreateObject("QuorralSet.ShapeButton")
Check b.Caption = "Label1", "a new button shows its caption's design text"
Check b.Alignment = 2, "a new button's caption is centred"
Check b.ButtonShape = 0, "ButtonShape starts Elliptical"
b.ButtonShape = 6
Check b.ButtonShape = 6, "ButtonShape Star"
b.ButtonShape = 9
Check b.ButtonShape = 9, "any ButtonShape is kept"
b.Style = 1
Check b.Style = 1, "Style CheckBox"
b.ClickBehaviour = 3
Check b.ClickBehaviour = 3, "ClickBehaviour InvertColor"
b.BevelWidth = 4
Check b.BevelWidth = 4, "BevelWidth"
b.Value = True
Check b.Value = True, "Value True"
b.Value = False
Check b.Value = False, "Value False"
b.ToolTipText = "Go"
Check b.ToolTipText = "Go", "ToolTipText"
b.Caption = "Start"
Check b.Caption = "Start", "Caption"

On Error Resume Next
b.Alignment = 5
Check Err.Number = 380, "Alignment 5 is refused (got " & Err.Number & ")"
Err.Clear
b.Alignment = 70000
Check Err.Number = 6, "Alignment outside 16 bits overflows (got " & Err.Number & ")"
Err.Clear
b.BevelWidth = 40000
Check Err.Number = 6, "BevelWidth outside 16 bits overflows (got " & Err.Number & ")"
Err.Clear
On Error GoTo 0
Check b.Alignment = 2, "a refused Alignment changes nothing"

If failures > 0 Then WScript.Quit 1
WScript.Echo "ok"
